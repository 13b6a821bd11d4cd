#pragma once

#include "printrules.h"

#include <QDialog>
#include <QImage>
#include <QPointer>

#include <functional>
#include <map>

class QAction;
class QLabel;

namespace dvw {

class PrintJob;

// The preview's picture of one page: the page drawn at a given size, white where the
// printout has no such page. Pages are kept once drawn.
class PreviewPages
{
public:
    explicit PreviewPages(PrintJob &job)
        : m_job(job)
    { }
    // The page drawn into an image of this size (the printer page's proportions are the
    // caller's to keep).
    const QImage &page(int p, const QSize &size);
    // The most pages the printout may have: its pages once it has ended.
    int highest() const;
    PrintJob &job() const { return m_job; }

private:
    PrintJob &m_job;
    QSize m_size;
    std::map<int, QImage> m_images;
};

// "Print Preview": one or two pages in the printer page's proportions under a bar with
// previous and next page, one or two pages and the page field.
class TPrintPreview : public QDialog
{
    Q_OBJECT
public:
    TPrintPreview(PrintJob &job, QWidget *parent = nullptr);
    ~TPrintPreview() override;

    const PreviewPager &pager() const { return m_pager; }
    QString status() const;
    void previous();
    void next();
    void onePage();
    void twoPages();
    // Where the pages are drawn, in the page area's coordinates.
    QRect pageRect(int which) const;
    PreviewPages &pages() { return m_pages; }
    // Called once, when laying out a page finds a column that cannot take its first item.
    void setWontFit(std::function<void()> wontFit) { m_wontFit = std::move(wontFit); }

private:
    class PageArea;
    void refresh();

    PrintJob &m_job;
    PreviewPages m_pages;
    PreviewPager m_pager;
    PageArea *m_area = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_next = nullptr;
    QAction *m_one = nullptr;
    QAction *m_two = nullptr;
    QLabel *m_status = nullptr;
    std::function<void()> m_wontFit;
    bool m_wontFitTold = false;
};

} // namespace dvw
