#include "ColorListBox.h"
#include "CompilerRunner.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Compiles with the velc of this build, copied into a program folder of its
// own so parallel runs never share a capture file.
class TestCompileVelc : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_compiler;

    QString WriteSource(const QString &folder, const QByteArray &text)
    {
        QDir(m_dir.path()).mkpath(folder);
        const QString path = m_dir.filePath(folder + "/prog.bas");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
        return path;
    }

    // What the compiler prints when run directly.
    QStringList DirectOutput(const QString &source)
    {
        QProcess velc;
        velc.start(m_compiler, {source});
        velc.waitForFinished(30000);
        QString text = QString::fromUtf8(velc.readAllStandardOutput());
        if (text.endsWith('\n'))
            text.chop(1);
        return text.split('\n');
    }

    QStringList Compile(const QString &source)
    {
        TColorListBox list;
        CompileSource(m_compiler, source, &list);
        return list.Lines();
    }

    static void CopyTree(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        const QDir source(from);
        for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = to + "/" + entry.fileName();
            if (entry.isDir())
                CopyTree(entry.filePath(), target);
            else
                QFile::copy(entry.filePath(), target);
        }
    }

    static int FirstDiagnostic(const QStringList &lines)
    {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains("):"))
                return i;
        return -1;
    }

private slots:
    void initTestCase()
    {
        const QString built = qEnvironmentVariable("VELMO_BIN_DIR") + "/velc";
        if (!QFile::exists(built))
            QFAIL(qPrintable("velc not built: " + built));
        QDir(m_dir.path()).mkpath("bin");
        m_compiler = CompilerPath(m_dir.filePath("bin") + "/");
        QVERIFY(QFile::copy(built, m_compiler));
    }

    void CleanProgramShowsTheCompilerOutput()
    {
        const QString source = WriteSource("good", "\n\n\n");
        const QStringList lines = Compile(source);
        QCOMPARE(lines, DirectOutput(source));
        QVERIFY(lines.contains("  >> " + source));
        QVERIFY(lines.contains("Build finished."));
        QVERIFY(lines.contains("0 - Error(s)."));
        QVERIFY(!QFile::exists(CapturePath(m_compiler)));
    }

    // Every example program, in a copy of the examples folder, shows in the
    // list exactly as the compiler prints it.
    void ExampleProgramsShowTheCompilerOutput()
    {
        const QString examples = QDir::cleanPath(QStringLiteral(VELMO_TEST_DATA "/../../../../examples"));
        const QString copy = m_dir.filePath("examples");
        CopyTree(examples, copy);
        QDirIterator it(copy, {"*.bas"}, QDir::Files, QDirIterator::Subdirectories);
        int compiled = 0;
        while (it.hasNext()) {
            const QString source = it.next();
            QCOMPARE(Compile(source), DirectOutput(source));
            ++compiled;
        }
        if (compiled == 0)
            QSKIP("no example programs");
    }

    // A broken line is reported against the file and line it is on, and the
    // Build list's double-click asks for exactly that place.
    void ErrorLineJumpsToItsPlace()
    {
        const QString source = WriteSource("bad", "\n\n10 )(\n");
        TColorListBox list;
        QString file;
        int line = 0;
        list.OnJumpToLine = [&](TColorListBox *, const QString &f, int l) {
            file = f;
            line = l;
        };
        CompileSource(m_compiler, source, &list);
        QCOMPARE(list.Lines(), DirectOutput(source));
        const int row = FirstDiagnostic(list.Lines());
        QVERIFY(row >= 0);
        list.setCurrentRow(row);
        list.DblClick();
        QCOMPARE(file, source);
        QCOMPARE(line, 3);
    }

    void FolderWithParenthesisCannotBeFollowed()
    {
        const QString source = WriteSource("old (2)", "10 )(\n");
        TColorListBox list;
        bool jumped = false;
        QStringList errors;
        list.OnJumpToLine = [&](TColorListBox *, const QString &, int) { jumped = true; };
        list.OnError = [&](const QString &message) { errors.append(message); };
        CompileSource(m_compiler, source, &list);
        const int row = FirstDiagnostic(list.Lines());
        QVERIFY(row >= 0);
        list.setCurrentRow(row);
        list.DblClick();
        QVERIFY(!jumped);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().endsWith("is not a valid integer value."));
    }

    void MissingCompiler()
    {
        TColorListBox list;
        const QString missing = m_dir.filePath("nowhere/velc");
        CompileSource(missing, WriteSource("good", "\n"), &list);
        QCOMPARE(list.Lines(), QStringList({"Could not find compiler: " + missing}));
    }
};

QTEST_MAIN(TestCompileVelc)
#include "test_compile_velc.moc"
