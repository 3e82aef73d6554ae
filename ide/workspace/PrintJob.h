#pragma once

#include "PrintSettings.h"

#include <Qsci/qsciprinter.h>

class QsciScintilla;
class QsciScintillaBase;

// The printer the editors print on. Choices made in the printer setup
// dialog stay on it for the following prints. It lays out each page with
// the job's header and footer around the editor text.
class TEditorPrinter : public QsciPrinter {
public:
    TEditorPrinter();

    // Prints the characters from `start` to `end` of the editor in one go:
    // a first pass counts the pages, the second draws them. Throws
    // EKorvidError when the printer refuses the job.
    void PrintText(QsciScintillaBase &editor, long start, long end, const TPrintJobSettings &settings);

    // Pages of the last print.
    int LastPageCount() const
    {
        return m_fields.PageCount;
    }

protected:
    void formatPage(QPainter &painter, bool drawing, QRect &area, int pageNumber) override;

private:
    int RunPages(QsciScintillaBase &editor, QPainter &painter, long start, long end, bool render);
    void Fail(const QString &reason) const;

    const TPrintJobSettings *m_job = nullptr;
    TPrintFieldValues m_fields;
};

// Prints an editor's text (or its selection) on `printer` with the job
// settings. The editor looks and behaves as before once the print is done,
// whether it succeeded or not.
void PrintEditor(QsciScintilla &editor, const TPrintJobSettings &settings, TEditorPrinter &printer);
