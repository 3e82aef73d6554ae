// The download protocol against a scripted module on a pseudo-terminal: the
// reset handshake, the records on the wire, the acknowledgements, the error
// texts, the user's line settings and the port's open count afterwards, and
// the HEX file's lines; then the transfer thread's notifications.

#include "../../support/CaseNames.h"
#include "../../support/ChildCheck.h"
#include "../../support/ModulePeer.h"
#include "../../support/TestFiles.h"
#include "Errors.h"
#include "Transfer.h"

#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QByteArray kReset("\x01\x30\x81\x1B", 4);
const QList<QByteArray> kRecords = {":0300000002000DEE", ":04000300A0B0C0D019", ":00000001FF"};
// The user's settings: 19200 bit/s and 2 stop bits (a pseudo-terminal keeps
// both but no parity or 7 data bits), unlike the loader's 9600 8N1.
const TLineSettings kUser{br19200, db8, sb20, paNONE};

QByteArray Joined(const QList<QByteArray> &records)
{
    QByteArray all;
    for (const QByteArray &r : records)
        all += r;
    return all;
}

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ASSERT_TRUE(peer.Valid());
        port.SetComPort(peer.Path());
        port.SetLineSettings(kUser.Pack());
        port.OnWarning = [this](const QString &, const QString &) { ++warnings; };
    }
    // Runs a transfer of the records against the scripted module.
    QString Run(const TLoaderScript &script, const QList<QByteArray> &records, TTransferTimings timings = Fast())
    {
        TModulePeer module(peer, script, records);
        TMcuTransfer transfer(port, records);
        transfer.Timings = timings;
        transfer.OnRecord = [this](int total, int index) { progress << QPair<int, int>(total, index); };
        const QString error = transfer.Run();
        module.Join();
        received = module.Received();
        resets = module.Resets();
        index = transfer.Index();
        return error;
    }
    static TTransferTimings Fast()
    {
        // Long enough for a loaded machine to answer, short where nobody does.
        return {500, 1000, 2, 1};
    }
    void ExpectUserSettingsOnTheDevice()
    {
        EXPECT_EQ(port.LineSettings(), kUser.Pack());
        const termios t = peer.Attributes();
        EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
        EXPECT_TRUE(t.c_cflag & CSTOPB);
    }

    TPtyPeer peer;
    TMcuComPort port;
    int warnings = 0;
    QByteArray received;
    int resets = 0;
    int index = 0;
    QList<QPair<int, int>> progress;
};

// --- The reset handshake ------------------------------------------------------

struct THandshakeCase {
    const char *name;
    QList<QByteArray> replies;
    int resets;
    bool accepted;
};

class HandshakeTest : public TransferTest, public ::testing::WithParamInterface<THandshakeCase> { };

TEST_P(HandshakeTest, TheModuleMustAnswerOKWithinThreeResets)
{
    const THandshakeCase &c = GetParam();
    TLoaderScript script;
    script.resetReplies = c.replies;
    const QString error = Run(script, kRecords);
    EXPECT_EQ(resets, c.resets);
    EXPECT_EQ(received.left(4 * c.resets), kReset.repeated(c.resets));
    if (c.accepted) {
        EXPECT_EQ(error, QString());
        EXPECT_EQ(received.mid(4 * c.resets), Joined(kRecords));
    } else {
        EXPECT_EQ(error, LoadProtocol::NoResetText());
        EXPECT_EQ(received.size(), 4 * c.resets); // no record sent
        EXPECT_TRUE(progress.isEmpty());
    }
    ExpectUserSettingsOnTheDevice();
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HandshakeTest,
    ::testing::Values(THandshakeCase{"ok_at_once", {"OK"}, 1, true},
                      THandshakeCase{"other_bytes_before_ok", {QByteArray("\x00\xFFzzOK", 6)}, 1, true},
                      THandshakeCase{"ok_at_the_third_reset", {"", "", "OK"}, 3, true},
                      THandshakeCase{"o_split_from_k_is_no_ok", {"O", "K"}, 3, false},
                      THandshakeCase{"only_o", {"O", "O", "O"}, 3, false}, THandshakeCase{"no_reply", {}, 3, false}),
    NameByField(&THandshakeCase::name));

struct TErrorTextCase {
    const char *name;
    QString text;
    QString expected;
};

class ErrorTextTest : public ::testing::TestWithParam<TErrorTextCase> { };

// One line each; no carriage return, which a message box shows as a blank
// at the start of the hint.
TEST_P(ErrorTextTest, LineAndHintAreJoinedByALineFeed)
{
    EXPECT_EQ(GetParam().text.toStdString(), GetParam().expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ErrorTextTest,
    ::testing::Values(
        TErrorTextCase{"no_reset", LoadProtocol::NoResetText(),
                       "No target reset - download canceled!\nPlease check the settings for the serial interface or "
                       "press download button and perform hardware reset."},
        TErrorTextCase{"no_reset_at_a_shell", LoadProtocol::NoResetShellText(),
                       "No target reset - download canceled!\nPlease check the device and line settings (--port, "
                       "--baud), or start velload again and press the module's reset button while it waits for the "
                       "loader's answer; \"velload --reset-only\" sends the reset command alone."},
        TErrorTextCase{"no_response", LoadProtocol::NoResponseText(),
                       "No response - download canceled!\nPlease check the settings for the serial interface and make "
                       "sure the target is in receive mode."},
        TErrorTextCase{"open_failed", LoadProtocol::OpenFailedText(),
                       "Unable to open the selected serial interface!\nPlease check, if "
                       "any other application already uses this device."},
        TErrorTextCase{"open_failed_with_reason", LoadProtocol::OpenFailedText("/dev/x: permission denied."),
                       "Unable to open the selected serial interface!\nPlease check, if "
                       "any other application already uses this device.\n/dev/x: permission denied."}),
    NameByField(&TErrorTextCase::name));

// --- The records -----------------------------------------------------------------

struct TRecordCase {
    const char *name;
    QList<QByteArray> records;
    TLoaderScript script;
    QString (*error)();
    int sent; // records counted as sent
};

QString NoError()
{
    return {};
}

TLoaderScript Failing(int at, QByteArray reply, bool hangUp = false)
{
    TLoaderScript s;
    s.failAt = at;
    s.failReply = std::move(reply);
    s.hangUpAtFail = hangUp;
    return s;
}

TLoaderScript AnsweringAfterTheLast(QByteArray reply)
{
    TLoaderScript s;
    s.afterLast = std::move(reply);
    return s;
}

class RecordTest : public TransferTest, public ::testing::WithParamInterface<TRecordCase> { };

TEST_P(RecordTest, RecordsGoOutAsTheyStandAndEachButTheLastIsAcknowledged)
{
    const TRecordCase &c = GetParam();
    const QString error = Run(c.script, c.records);
    EXPECT_EQ(error, c.error());
    EXPECT_EQ(index, c.sent);
    QList<QPair<int, int>> expected;
    for (int i = 1; i <= c.sent; ++i)
        expected << QPair<int, int>(int(c.records.size()), i);
    EXPECT_EQ(progress, expected);
    const int wired = c.script.failAt >= 0 ? c.script.failAt + 1 : int(c.records.size());
    EXPECT_EQ(received, kReset + Joined(c.records.mid(0, wired)));
    if (c.script.hangUpAtFail) {
        EXPECT_EQ(port.LineSettings(), kUser.Pack()); // the device is gone
    } else {
        ExpectUserSettingsOnTheDevice();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RecordTest,
    ::testing::Values(TRecordCase{"all_acknowledged", kRecords, {}, NoError, 3},
                      TRecordCase{"last_not_awaited", kRecords, AnsweringAfterTheLast("X"), NoError, 3},
                      TRecordCase{
                          "one_record_no_acknowledgement", {":00000001FF"}, AnsweringAfterTheLast(""), NoError, 1},
                      TRecordCase{"empty_file", {}, {}, NoError, 0},
                      TRecordCase{"empty_line_in_the_middle", {":01", "", ":00000001FF"}, {}, NoError, 3},
                      TRecordCase{"wrong_acknowledgement", kRecords, Failing(1, "x."), LoadProtocol::NoResponseText, 1},
                      TRecordCase{"no_acknowledgement", kRecords, Failing(0, ""), LoadProtocol::NoResponseText, 0},
                      TRecordCase{"module_hangs_up", kRecords, Failing(1, "", true), LoadProtocol::NoResponseText, 1}),
    NameByField(&TRecordCase::name));

TEST_F(TransferTest, AModuleThatHangsUpEndsTheFullAcknowledgementWaitWithNoResponse)
{
    // The real 3000 ms wait: the hang-up ends it, the test's time limit
    // catches a transfer that would hang.
    TTransferTimings timings = Fast();
    timings.acknowledgeMs = 3000;
    EXPECT_EQ(Run(Failing(0, "", true), kRecords, timings), LoadProtocol::NoResponseText());
    EXPECT_EQ(index, 0);
    EXPECT_EQ(port.Requests(), 0);
    EXPECT_FALSE(port.Open());
}

// --- The port before and after --------------------------------------------------

struct TOpenCase {
    const char *name;
    bool connected; // the terminal holds the port
    bool moduleAnswers;
};

class OpenCountTest : public TransferTest, public ::testing::WithParamInterface<TOpenCase> { };

TEST_P(OpenCountTest, TheOpenCountAndTheEventThreadAreAsBefore)
{
    const TOpenCase &c = GetParam();
    if (c.connected) {
        ASSERT_TRUE(port.OpenPort(false));
    }
    TLoaderScript script;
    if (!c.moduleAnswers)
        script.resetReplies.clear();
    Run(script, kRecords);
    EXPECT_EQ(port.Requests(), c.connected ? 1 : 0);
    EXPECT_EQ(port.Open(), c.connected);
    EXPECT_EQ(port.EventThreadRunning(), c.connected);
    EXPECT_FALSE(port.Polling());
    EXPECT_EQ(warnings, 0);
    if (c.connected)
        ExpectUserSettingsOnTheDevice();
}

INSTANTIATE_TEST_SUITE_P(Terminal, OpenCountTest,
                         ::testing::Values(TOpenCase{"connected_success", true, true},
                                           TOpenCase{"connected_no_reset", true, false},
                                           TOpenCase{"disconnected_success", false, true},
                                           TOpenCase{"disconnected_no_reset", false, false}),
                         NameByField(&TOpenCase::name));

TEST_F(TransferTest, ADeviceThatCannotBeOpenedIsReportedQuietlyAndTheCountIsBack)
{
    port.SetComPort(QDir::tempPath() + "/velmo-no-such-device");
    TMcuTransfer transfer(port, kRecords);
    EXPECT_EQ(transfer.Run(),
              LoadProtocol::OpenFailedText(QDir::tempPath() + "/velmo-no-such-device: there is no such device."));
    EXPECT_EQ(port.Requests(), 0);
    EXPECT_FALSE(port.Polling());
    EXPECT_EQ(warnings, 0);
}

TEST_F(TransferTest, AStopRequestEndsBetweenRecordsWithoutAnError)
{
    TModulePeer module(peer, {}, kRecords, 300); // waits briefly for the record that never comes
    TMcuTransfer transfer(port, kRecords);
    transfer.Timings = Fast();
    transfer.OnRecord = [&transfer](int, int) { transfer.Terminate(); };
    EXPECT_EQ(transfer.Run(), QString());
    module.Join();
    EXPECT_EQ(transfer.Index(), 1);
    EXPECT_EQ(module.Received(), kReset + kRecords[0]);
    ExpectUserSettingsOnTheDevice();
}

TEST_F(TransferTest, ThePausesAreTakenWhereTheProtocolSays)
{
    TModulePeer module(peer, {}, kRecords);
    TMcuTransfer transfer(port, kRecords);
    QList<int> pauses;
    transfer.Pause = [&pauses](int ms) { pauses << ms; };
    EXPECT_EQ(transfer.Run(), QString());
    // Settle before the user's settings, before the loader's, one pause
    // after each record, settle before the user's settings again.
    EXPECT_EQ(pauses, QList<int>({30, 30, 10, 10, 10, 30}));
}

TEST_F(TransferTest, ResetWritesTheCommandAtTheSettingsInForce)
{
    ASSERT_TRUE(port.OpenPort(false));
    ResetModule(port);
    EXPECT_EQ(peer.Read(4), kReset);
    ExpectUserSettingsOnTheDevice();
    port.ClosePort();
}

// --- The HEX file's lines ------------------------------------------------------------

struct TLinesCase {
    const char *name;
    QByteArray bytes;
    QList<QByteArray> lines;
};

class HexLinesTest : public ::testing::TestWithParam<TLinesCase> { };

TEST_P(HexLinesTest, LinesEndAtCRLFOrCRLFAndTheFinalEndStartsNoLine)
{
    EXPECT_EQ(LoadProtocol::SplitRecords(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, HexLinesTest,
    ::testing::Values(TLinesCase{"crlf", ":01\r\n:02\r\n", {":01", ":02"}},
                      TLinesCase{"lf", ":01\n:02\n", {":01", ":02"}}, TLinesCase{"cr", ":01\r:02\r", {":01", ":02"}},
                      TLinesCase{"no_final_end", ":01\r\n:02", {":01", ":02"}},
                      TLinesCase{"mixed", ":01\r:02\n:03\r\n", {":01", ":02", ":03"}}, TLinesCase{"empty_file", "", {}},
                      TLinesCase{"one_line", ":00000001FF", {":00000001FF"}},
                      TLinesCase{"empty_line_in_the_middle", ":01\r\n\r\n:02", {":01", "", ":02"}},
                      TLinesCase{"lf_cr_is_two_ends", ":01\n\r:02", {":01", "", ":02"}},
                      TLinesCase{"bytes_kept", QByteArray("\xFF\x00 x\n", 5), {QByteArray("\xFF\x00 x", 4)}}),
    NameByField(&TLinesCase::name));

struct TUnreadableCase {
    const char *name;
    const char *file;
    bool needsNonRoot;
    const char *reason; // the end of the message, empty for the system's
};

const char *const kTooLarge = "too large for a HEX file (more than 4 MiB)";

class UnreadableFileTest : public ::testing::TestWithParam<TUnreadableCase> { };

TEST_P(UnreadableFileTest, TheErrorNamesTheFileAndNothingIsSent)
{
    EnsureCoreApplication();
    QTemporaryDir dir;
    WriteTestFile(dir.filePath("locked.hex"), ":00000001FF\r\n");
    ::chmod(QFile::encodeName(dir.filePath("locked.hex")).constData(), 0);
    QDir(dir.path()).mkdir("folder.hex");
    QFile big(dir.filePath("big.hex"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(LoadProtocol::kMaxHexFileBytes + 1));
    big.close();
    const QString file = QDir(dir.path()).filePath(GetParam().file);
    TPtyPeer peer;
    TMcuComPort port;
    port.SetComPort(peer.Path());
    // Root reads every file: the unreadable case runs as "nobody" where it can.
    TChildSetup setup;
    setup.asNobody = GetParam().needsNonRoot;
    setup.givenToNobody = {dir.path()};
    const TChildResult result = RunInChild(setup, [&]() -> std::string {
        try {
            TMcuLoadTask task(port, file);
            return "no error for " + file.toStdString();
        } catch (const EKorvidError &e) {
            if (!e.Message().startsWith("Unable to read the download file \"" + file + "\": "))
                return e.what();
            if (e.Message().size() <= file.size() + 40)
                return "the system's reason is missing";
            if (!e.Message().endsWith(QString::fromLatin1(GetParam().reason)))
                return e.what();
        }
        return {};
    });
    if (result.status == TChildResult::Unavailable)
        GTEST_SKIP() << result.message;
    EXPECT_EQ(result.status, TChildResult::Passed) << result.message;
    EXPECT_TRUE(peer.ReadAvailable().isEmpty());
    EXPECT_EQ(port.Requests(), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadableFileTest,
                         ::testing::Values(TUnreadableCase{"missing", "none.hex", false, ""},
                                           TUnreadableCase{"folder", "folder.hex", false, ""},
                                           TUnreadableCase{"unreadable", "locked.hex", true, ""},
                                           TUnreadableCase{"endless_device", "/dev/zero", false, kTooLarge},
                                           TUnreadableCase{"larger_than_4_MiB", "big.hex", false, kTooLarge}),
                         NameByField(&TUnreadableCase::name));

// --- The transfer thread ----------------------------------------------------------------

class LoadTaskTest : public TransferTest {
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        file = WriteTestFile(dir.filePath("p.hex"), Joined({kRecords[0], "\r\n", kRecords[1], "\r\n", kRecords[2]}));
    }
    QTemporaryDir dir;
    QString file;
};

TEST_F(LoadTaskTest, ProgressAndTheEndArriveOnThePortsThreadAndTheOwnerMayDeleteTheTask)
{
    TModulePeer module(peer, {}, kRecords);
    auto *task = new TMcuLoadTask(port, file);
    task->Transfer().Timings = Fast();
    QList<int> indexes;
    bool onPortThread = true;
    int ends = 0;
    QString error = "not ended";
    task->OnProgress = [&](TMcuLoadTask *sender, int total, int index) {
        onPortThread = onPortThread && QThread::currentThread() == port.thread();
        EXPECT_EQ(sender, task);
        EXPECT_EQ(total, 3);
        indexes << index;
    };
    task->OnEnd = [&](TMcuLoadTask *sender) {
        onPortThread = onPortThread && QThread::currentThread() == port.thread();
        ++ends;
        error = sender->ErrorText();
        EXPECT_FALSE(sender->Running());
        delete sender;
    };
    EXPECT_EQ(task->Total(), 3);
    task->Start();
    EXPECT_TRUE(task->Running());
    ASSERT_TRUE(WaitFor([&] { return ends > 0; }, 10000));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(error, QString());
    EXPECT_EQ(indexes, QList<int>({1, 2, 3}));
    EXPECT_TRUE(onPortThread);
    module.Join();
    EXPECT_EQ(module.Received(), kReset + Joined(kRecords));
    EXPECT_EQ(port.Requests(), 0);
}

TEST_F(LoadTaskTest, AFailedTransferEndsWithItsErrorText)
{
    TModulePeer module(peer, Failing(0, "?"), kRecords);
    TMcuLoadTask task(port, file);
    task.Transfer().Timings = Fast();
    bool ended = false;
    task.OnEnd = [&](TMcuLoadTask *) { ended = true; };
    task.Start();
    ASSERT_TRUE(WaitFor([&] { return ended; }, 10000));
    EXPECT_EQ(task.ErrorText(), LoadProtocol::NoResponseText());
    EXPECT_EQ(task.Index(), 0);
}

TEST_F(LoadTaskTest, DestroyingARunningTaskStopsItAndDropsItsNotifications)
{
    // The module never answers the first record: the task waits in the
    // acknowledgement wait while its progress is still to come.
    TModulePeer module(peer, Failing(0, ""), kRecords);
    bool notified = false;
    {
        TMcuLoadTask task(port, file);
        task.Transfer().Timings = Fast();
        task.OnProgress = [&](TMcuLoadTask *, int, int) { notified = true; };
        task.OnEnd = [&](TMcuLoadTask *) { notified = true; };
        task.Start();
    }
    module.Join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(notified);
    EXPECT_EQ(port.Requests(), 0);
    EXPECT_EQ(port.LineSettings(), kUser.Pack());
}

TEST_F(LoadTaskTest, DestroyingATaskWaitingForItsProgressReleasesIt)
{
    // Progress is reported with a blocking call; the port's thread destroys
    // the task instead of running the queued report.
    TModulePeer module(peer, {}, kRecords);
    auto task = std::make_unique<TMcuLoadTask>(port, file);
    task->Transfer().Timings = Fast();
    std::atomic<bool> reported{false};
    task->Transfer().Pause = [&](int ms) {
        if (ms == 2)
            reported = true; // the first record is out; its report follows
    };
    task->Start();
    while (!reported)
        QThread::yieldCurrentThread();
    task.reset(); // must not deadlock
    module.Join();
    EXPECT_EQ(port.Requests(), 0);
}

} // namespace
