#include "toneapptview.h"

#include "oneapptrules.h"
#include "shell/contexthelpfilter.h"
#include "shell/documentsignals.h"
#include "store/tapptdocument.h"
#include "toneedit.h"

#include <QPalette>

namespace dvw {

TOneApptView::TOneApptView(DocumentSignals &doc, const QFont &bodyFont, ListCursorFn listCursor,
                           QWidget *parent)
    : QWidget(parent)
    , m_events(&doc)
    , m_listCursor(std::move(listCursor))
    , m_edit(new TOneEdit(this))
{
    setObjectName(QStringLiteral("currentPane"));
    setWindowTitle(viewName());
    setProperty(ContextHelpFilter::helpContextProperty, OneAppt::helpContext);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    setPalette(white);
    setAutoFillBackground(true);
    m_edit->setFont(bodyFont);
    m_edit->setGeometry(rect());
    setFocusProxy(m_edit);
    connect(m_edit, &TOneEdit::helpRequested, this, &TOneApptView::helpRequested);
    connect(m_edit, &TOneEdit::focusListRequested, this, &TOneApptView::focusListRequested);
    connect(m_edit, &TOneEdit::commandRequested, this, &TOneApptView::commandRequested);

    // The pane only follows: it sends nothing, so every selection is news to it.
    connect(&doc, &DocumentSignals::positionSelected, this,
            [this](int position) { showLine(position); });
    connect(&doc, &DocumentSignals::closed, this, [this] { showLine(-1); });
    refresh();
}

TApptDocument *TOneApptView::document() const
{
    return m_events ? m_events->document() : nullptr;
}

QString TOneApptView::viewName()
{
    return tr("Current");
}

void TOneApptView::showLine(int position)
{
    TApptDocument *doc = document();
    if (doc == nullptr) {
        m_shown = -1;
        m_edit->clear();
        return;
    }
    const std::size_t size = doc->engine().index().size();
    m_shown = position >= 0 && static_cast<std::size_t>(position) < size ? position : -1;
    // Plain text only: a line holding markup shows its tags.
    m_edit->setPlainText(OneAppt::DisplayRecord(OneAppt::RecordText(*doc, m_shown)));
}

void TOneApptView::refresh()
{
    TApptDocument *doc = document();
    if (doc == nullptr) {
        showLine(-1);
        return;
    }
    const std::optional<int> cursor = m_listCursor ? m_listCursor() : std::nullopt;
    showLine(OneAppt::RefreshedLine(*doc, cursor, m_shown));
}

void TOneApptView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_edit->setGeometry(rect());
}

} // namespace dvw
