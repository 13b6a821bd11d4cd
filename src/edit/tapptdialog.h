#pragma once

#include "apptform.h"

#include <QDialog>
#include <QPlainTextEdit>

#include <functional>
#include <map>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace dvw {

class Clock;

// What the dialog takes from the settings and the program around it.
struct ApptDialogSettings
{
    bool bigDialog = false;
    int bWidth = 364; // enlarged, dialog units
    int bHeight = 265;
    int sWidth = 242; // reduced, dialog units
    int sHeight = 69;
    // Called with the new mode each time the user switches it.
    std::function<void(bool enlarged)> storeBigDialog;
    std::function<void(int topic)> showHelp;
    // The reading of the line and its next dates under the edit box; empty: none.
    std::function<QString(const std::string &line)> describe;
};

// The dialog's edit box: the whole line, or the free text. Ctrl+Enter is OK, Ctrl+Tab a
// tab, F1 help, and Ctrl+D, Ctrl+B, Ctrl+L, Ctrl+T put in today's date, date and time, the
// opening date and the time. A paste puts in plain text only: a line this program copied
// as the box shows its bytes, else the clipboard's text; a clipboard without text (no
// program owns it) pastes nothing.
class TApptEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

signals:
    void okRequested();
    void helpRequested();
    void insertRequested(QChar key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // The text box's own paste reads the first of the data's formats without asking
    // whether there is one, which crashes on an empty clipboard: every paste comes here.
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};

// "Edit Appointment": the line in the reduced mode, the line's properties in controls in the
// enlarged one. Every rule is ApptForm's; the widgets only show it and pass the user's
// changes in. Object names are "c" and the control's number ("c201" the edit box).
class TApptDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int helpTopic = 103;

    TApptDialog(QWidget *parent, FormDocument document, const std::string &line, TDate openingDate,
                ApptDialogSettings settings, const Clock &clock);
    ~TApptDialog() override;

    ApptForm &form() { return *m_form; }
    // The line the dialog closed with (the opened one after Cancel) and its result.
    const std::string &line() const { return m_form->line(); }
    ApptForm::Result lineResult() const { return m_form->result(); }
    bool accepted() const { return m_accepted; }
    QWidget *control(int id) const;
    // The reading under the edit box, as it shows now.
    QString previewText() const;
    // Brings the preview up to date now instead of after the pause in typing.
    void updatePreview();

    void accept() override;
    void reject() override;

private:
    void build();
    QWidget *makeControls();
    void switchMode();
    void chooseKind(KindButton button);
    void spin(ApptForm::DateField field, int action);
    void insertKeyText(QChar key);
    void pull();
    void push();
    void showMode();
    void showLayout();
    void updateWeekdayBox(ApptForm::DateField field);
    void sizeForMode();
    QString boxText(const std::string &bytes) const;
    std::string textOfBox() const;
    template<typename W>
    W *add(W *widget, int id);

    std::unique_ptr<ApptForm> m_form;
    ApptDialogSettings m_settings;
    const Clock &m_clock;
    DateTextSettings m_dateSettings;
    std::map<int, QWidget *> m_controls;
    // The edit box's text as last put in, and the bytes it came from: text the user did
    // not change gives back its own bytes, whatever their encoding.
    QString m_boxShown;
    std::string m_boxBytes;
    TApptEdit *m_edit = nullptr;
    QWidget *m_enlargedPart = nullptr;
    QPushButton *m_more = nullptr;
    QButtonGroup *m_kinds = nullptr;
    QButtonGroup *m_priorities = nullptr;
    QLabel *m_preview = nullptr;
    QTimer *m_previewTimer = nullptr;
    bool m_pushing = false;
    bool m_accepted = false;
};

// The text of the edit box for line bytes (CR LF as line breaks), and back.
QString EditBoxText(const std::string &bytes);
std::string EditBoxBytes(const QString &text);

} // namespace dvw
