// The programming manual as a paginated document: a title page, the table of
// contents, the numbered chapters and an index of the keywords, laid out for
// A4 pages with a running head and page numbers, written as a PDF.
#pragma once

#include "ManualSource.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>

class QPagedPaintDevice;
class QPainter;

struct TManualInfo {
    QString title;
    QString subtitle;
    QImage logo; // on the title page; may be null
};

class TManualDocument {
public:
    TManualDocument(const TExpandedManual &manual, const TManualInfo &info);

    // Lays the manual out for the pages of `device` and puts the page numbers
    // into the contents and the index. False with `error` when the headings
    // of the laid-out text are not the manual's.
    bool Layout(QPagedPaintDevice &device, QString &error);
    // Paints every page onto the device, after Layout.
    void Paint(QPainter &painter, QPagedPaintDevice &device) const;

    int PageCount() const
    {
        return m_document.pageCount();
    }
    // The whole text, contents and index included, for searching and tests;
    // a picture is the line "[Figure 14.1: Caption]".
    QString PlainText() const;
    // Where each picture's image and caption are laid out, in the device's
    // coordinates of the whole text (page after page), in the order of the
    // text; after Layout.
    struct TFigureBox {
        QRectF image;
        QRectF caption;
    };
    QList<TFigureBox> FigureBoxes() const;
    // The page (from 1) each heading starts on: the contents first, then the
    // manual's headings, then the index.
    const QList<int> &HeadingPages() const
    {
        return m_pages;
    }

private:
    struct TIndexTerm {
        QString term;
        int heading; // index into the manual's headings
    };

    void SetHtml(QPagedPaintDevice &device);
    void AddFigures(QPagedPaintDevice &device);
    bool IsFigure(const QTextBlock &block) const;
    QString TitleHtml() const;
    QString ContentsHtml() const;
    QString IndexHtml() const;
    QString PageOf(int heading) const;
    bool FindHeadingPages(QList<int> &pages, QString &error) const;
    qreal UnitBottom(QTextBlock next) const;
    void KeepHeadingsWithTheirText();
    void KeepFiguresOnOnePage();
    void LayOutAnew();
    void PaintMargins(QPainter &painter, int page, const QRectF &pageRect) const;
    QString RunningHead(int page) const;

    TManualInfo m_info;
    QString m_bodyHtml;
    QList<TIndexTerm> m_index;
    QList<TFigure> m_figures;
    QList<int> m_pages; // per heading of m_headings, from 1; empty before the layout
    QList<THeading> m_headings; // "Contents", the manual's headings, "Index"
    QTextDocument m_document;
    qreal m_pageHeight = 0;
    qreal m_dpi = 300;
};

// Lays the manual out and writes it as a PDF file and, when `textFile` is not
// empty, its text as UTF-8. Each file is written whole or not at all.
bool WriteManual(const TExpandedManual &manual, const TManualInfo &info, const QString &pdfFile,
                 const QString &textFile, QString &error);
