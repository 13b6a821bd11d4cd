#include "undohistories.h"

#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QTimer>

#include <algorithm>

namespace dvw {

UndoHistories::UndoHistories(TDVDecoratedMDIFrame &frame)
    : QObject(&frame)
    , m_frame(frame)
{
    setObjectName(QStringLiteral("undoHistories"));
    DVDocManager &docs = frame.documents();
    connect(&docs, &DVDocManager::documentsChanged, this, &UndoHistories::sync);
    connect(&docs, &DVDocManager::documentsRefreshed, this, &UndoHistories::queueRecord);
    // A document read again from its file starts its history again from those lines.
    connect(&docs, &DVDocManager::documentReloaded, this,
            [this](TApptDocument *doc) { restart(*doc); });
    connect(&docs, &DVDocManager::documentSaved, this, [this](TApptDocument *doc) {
        if (DocumentHistory *history = historyOf(*doc))
            history->markSaved();
        updateTexts();
    });
    connect(&frame, &TDVDecoratedMDIFrame::commandCarriedOut, this, [this](int command) {
        const QAction *action = m_frame.action(command);
        recordAll(action ? stepName(action->text()) : DocumentHistory::plainStepName());
        updateTexts();
    });
    connect(frame.client(), &QMdiArea::subWindowActivated, this, &UndoHistories::updateTexts);
    registerCommands();
}

UndoHistories::~UndoHistories() = default;

QString UndoHistories::stepName(const QString &menuText)
{
    QString name = menuText.section(QLatin1Char('\t'), 0, 0);
    QString plain;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // "&&" stands for one "&"; a single "&" marks the menu key.
        if (name[i] == QLatin1Char('&') && ++i == name.size())
            break;
        plain += name[i];
    }
    return plain;
}

void UndoHistories::registerCommands()
{
    DVDocManager &docs = m_frame.documents();
    const auto can = [this, &docs](bool undoing) {
        TApptDocument *doc = docs.current();
        DocumentHistory *history = doc ? historyOf(*doc) : nullptr;
        return history && (undoing ? history->stack().canUndo() : history->stack().canRedo());
    };
    CommandRegistry &r = m_frame.commands();
    r.add(
        Cm::EditUndo, [this, &docs] { undo(*docs.current()); }, [can] { return can(true); });
    r.add(
        Cm::EditRedo, [this, &docs] { redo(*docs.current()); }, [can] { return can(false); });
    // Ctrl+Z works wherever the focus is, also while a view's own menu hides the Edit menu.
    for (const int command : {Cm::EditUndo, Cm::EditRedo}) {
        if (QAction *action = m_frame.action(command);
            action && !m_frame.actions().contains(action))
            m_frame.addAction(action);
    }
    updateTexts();
}

DocumentHistory *UndoHistories::historyOf(const TApptDocument &doc)
{
    const auto it = m_histories.find(&doc);
    return it == m_histories.end() ? nullptr : it->second.get();
}

void UndoHistories::sync()
{
    DVDocManager &docs = m_frame.documents();
    std::map<const TApptDocument *, std::unique_ptr<DocumentHistory>> kept;
    for (int i = 0; i < docs.count(); ++i) {
        TApptDocument *doc = docs.document(i);
        auto it = m_histories.find(doc);
        kept[doc] = it != m_histories.end() ? std::move(it->second)
                                            : std::make_unique<DocumentHistory>(*doc);
    }
    // A closed document's history goes with it.
    m_histories = std::move(kept);
    updateTexts();
}

void UndoHistories::recordAll(const QString &name)
{
    for (auto &[doc, history] : m_histories)
        history->record(name);
    updateTexts();
}

void UndoHistories::queueRecord()
{
    if (m_recordQueued)
        return;
    m_recordQueued = true;
    // After the command that refreshed the views has been recorded under its own name.
    QTimer::singleShot(0, this, [this] {
        m_recordQueued = false;
        recordAll(DocumentHistory::plainStepName());
        updateTexts();
    });
}

bool UndoHistories::undo(TApptDocument &doc)
{
    DocumentHistory *history = historyOf(doc);
    if (history == nullptr || !history->undo()) {
        QApplication::beep();
        return false;
    }
    afterMove(doc);
    return true;
}

bool UndoHistories::redo(TApptDocument &doc)
{
    DocumentHistory *history = historyOf(doc);
    if (history == nullptr || !history->redo()) {
        QApplication::beep();
        return false;
    }
    afterMove(doc);
    return true;
}

void UndoHistories::restart(TApptDocument &doc)
{
    if (DocumentHistory *history = historyOf(doc))
        history->restart();
    updateTexts();
    m_frame.updateActions();
}

void UndoHistories::afterMove(TApptDocument &)
{
    DVDocManager &docs = m_frame.documents();
    emit docs.documentsRefreshed();
    docs.updateTitles();
    updateTexts();
    m_frame.updateActions();
}

void UndoHistories::updateTexts()
{
    TApptDocument *doc = m_frame.documents().current();
    DocumentHistory *history = doc ? historyOf(*doc) : nullptr;
    const auto named = [](const QString &verb, const QString &step, const QString &key) {
        QString text = verb;
        if (!step.isEmpty())
            text
                += QLatin1Char(' ') + QString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
        return text + QLatin1Char('\t') + key;
    };
    if (QAction *action = m_frame.action(Cm::EditUndo))
        action->setText(named(tr("&Undo"), history ? history->stack().undoText() : QString(),
                              QStringLiteral("Ctrl+Z")));
    if (QAction *action = m_frame.action(Cm::EditRedo))
        action->setText(named(tr("&Redo"), history ? history->stack().redoText() : QString(),
                              QStringLiteral("Ctrl+Shift+Z")));
}

UndoHistories &InstallUndo(TDVDecoratedMDIFrame &frame)
{
    return *new UndoHistories(frame);
}

} // namespace dvw
