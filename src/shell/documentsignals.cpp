#include "documentsignals.h"

#include "store/tapptdocument.h"

namespace dvw {

DocumentSignals::DocumentSignals(TApptDocument &doc, QObject *parent)
    : QObject(parent)
    , m_doc(&doc)
{
    m_doc->addListener(this);
}

DocumentSignals::~DocumentSignals()
{
    if (m_doc)
        m_doc->removeListener(this);
}

void DocumentSignals::sendGoToDate(const TDate &date, const QObject *sender)
{
    if (m_doc == nullptr)
        return;
    m_doc->broadcastGoToDate(date, this);
    emit dateRequested(date, sender);
}

void DocumentSignals::sendSelectPosition(int position, const QObject *sender)
{
    if (m_doc == nullptr)
        return;
    m_doc->broadcastSelectPosition(position, this);
    emit positionSelected(position, sender);
}

void DocumentSignals::sendCursorDate(const TDate &date, const QObject *sender)
{
    if (m_doc == nullptr)
        return;
    m_doc->broadcastCursorDate(date, this);
    emit cursorDateChanged(date, sender);
    emit dateRequested(date, sender);
}

void DocumentSignals::goToDate(const TDate &date)
{
    emit dateRequested(date, nullptr);
}

void DocumentSignals::selectPosition(int position)
{
    emit positionSelected(position, nullptr);
}

void DocumentSignals::documentClosed()
{
    m_doc = nullptr;
    emit closed();
}

} // namespace dvw
