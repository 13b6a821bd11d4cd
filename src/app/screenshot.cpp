// Renders the main window as it looks after start, without a display, into a PNG file:
// the picture in the README. A fixed clock keeps the picture the same from run to run.
// With --list the appointment list alone is rendered, continued entries shown whole, its
// cursor moved down the list. With --edit or --edit-reduced the edit dialog is rendered,
// open on the team meeting, in the enlarged or the reduced mode. With --calendar the
// calendar view is rendered, weekends shaded. With --preview-list, --preview-wallet or
// --preview-month the print preview is rendered: two list pages, a wallet page, or the
// month calendar on a landscape page.
#include "app/installall.h"
#include "edit/edit.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/scriptedprompter.h"
#include "print/printpreview.h"
#include "settings/platformprobe.h"
#include "settings/settingkeys.h"
#include "shell/commandline.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/tapptdocument.h"
#include "views/tapptview.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

int main(int argc, char **argv)
{
    QApplication qapp(argc, argv);
    bool listOnly = false;
    std::optional<bool> editDialog; // enlarged or not
    bool calendar = false;
    QString preview; // "list", "wallet" or "month"
    std::vector<QString> positional;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QStringLiteral("--list"))
            listOnly = true;
        else if (arg == QStringLiteral("--edit") || arg == QStringLiteral("--edit-reduced"))
            editDialog = arg == QStringLiteral("--edit");
        else if (arg == QStringLiteral("--calendar"))
            calendar = true;
        else if (arg.startsWith(QStringLiteral("--preview-")))
            preview = arg.mid(10);
        else
            positional.push_back(QFileInfo(arg).absoluteFilePath());
    }
    if (positional.empty()) {
        std::fprintf(
            stderr,
            "usage: dayvane-screenshot [--list | --calendar | --edit | --edit-reduced |\n"
            "       --preview-list | --preview-wallet | --preview-month] OUTPUT.png [FILE.APT]\n");
        return 2;
    }
    const QString output = positional[0];
    std::vector<std::string> args = {"dayvane"};
    if (positional.size() >= 2)
        args.emplace_back(positional[1].toStdString());

    // Started in an empty folder holding a few sample lines as NOTES.APT.
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    QFile sample(QStringLiteral("NOTES.APT"));
    if (sample.open(QIODevice::WriteOnly)) {
        // Notes in two categories with colours, done marks, a birthday, holidays and
        // several weeks of single and repeating appointments.
        sample.write("\\C!WORK,2=Work\r\n"
                     "\\C!HOME,7=Home and family\r\n"
                     "* Buy milk\r\n"
                     ">* Renew the car insurance\r\n"
                     "*WORK Call back the printer vendor\r\n"
                     "*WORK Draft the 2027 budget\r\n"
                     "*HOME Book the chimney sweep\r\n"
                     "\\N12/1/2026 -3 Tax return (nagging until done)\r\n"
                     "12/7/2026 9:00 am Dentist, Dr. Moreau\r\n"
                     ">12/7/2026 8:00 am Take the car to the garage\r\n"
                     "\\*WORK 12/8/2026 10:30 am Quarterly review\r\n"
                     "\\B12/10/1958 -5 Ann's birthday (  )\r\n"
                     "\\B12/21/1990 Tom's birthday (age)\r\n"
                     "!mon, wed 7:30 am Gym\r\n"
                     "!fri 6:00 pm Choir practice\r\n"
                     "?/15 Pay rent\r\n"
                     "\\1 12/11/2026 Submit the grant report\r\n"
                     "\\*HOME 12/12/2026 2:00 pm Grandma's visit\r\n"
                     "\\*HOME 12/13/2026 +2 Trip to the mountains\r\n"
                     "\\*WORK \\S11/30/2026 !2W 11:00 am Team meeting\r\n"
                     "12/9/2026 12:30 pm Lunch with Sam\r\n"
                     "\\2\\H12/25 Christmas Day\r\n"
                     "\\H12/24 Christmas Eve\r\n"
                     "\\H1/1 New Year's Day\r\n"
                     "12/18/2026 7:00 pm Office party\r\n"
                     "&bring the secret-santa present\r\n");
        sample.close();
    }

    dvw::ScriptedPrompter prompter;
    dvw::ScriptedFileChooser files;
    dvw::ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
    // A wide screen with no sound devices, whatever this machine has; no stored settings.
    const dvw::FixedProbe probe(1280, 0);
    QTemporaryDir settingsDir;
    qputenv("DAYVANE_CONFIG_DIR", settingsDir.path().toLocal8Bit());
    // No recovery copies of this run's sample, and none of the user's offered.
    qputenv("XDG_STATE_HOME", settingsDir.path().toLocal8Bit());
    dvw::dvwApp app(dvw::ParseCommandLine(args),
                    {prompter, files, clock, probe, dvw::dvwApp::defaultHelpDirectory()});
    if (listOnly) {
        app.changeSetting(dvw::settingkeys::MULTILINE, true);
    }
    if (editDialog)
        app.changeSetting(dvw::settingkeys::BIGDIALOG, *editDialog);
    if (calendar || preview == QStringLiteral("month"))
        app.changeSetting(dvw::settingkeys::SHADEWEEKENDS, true);
    if (preview == QStringLiteral("wallet"))
        app.changeSetting(dvw::settingkeys::WALLETSTYLE, true);
    if (preview == QStringLiteral("list"))
        app.changeSetting(dvw::settingkeys::NUMPAGES, 2);
    dvw::TDVDecoratedMDIFrame frame(app);
    bool previewSaved = false;
    dvw::PrintServices printing;
    printing.runPreview = [&](dvw::TPrintPreview &p) {
        p.resize(preview == QStringLiteral("month") ? 1000 : 900, 700);
        p.show();
        if (preview == QStringLiteral("list"))
            p.twoPages();
        QApplication::processEvents();
        previewSaved = p.grab().save(output);
    };
    // The edit dialog's picture is taken while it is open; it closes without a change.
    bool saved = false;
    dvw::FeatureServices services;
    services.runDialog = [&](QDialog &shown) {
        auto *dialog = qobject_cast<dvw::TApptDialog *>(&shown);
        if (dialog == nullptr)
            return false;
        dialog->show();
        dialog->updatePreview();
        QApplication::processEvents();
        saved = dialog->grab().save(output);
        dialog->reject();
        return false;
    };
    dvw::InstallAll(frame, editDialog ? services : dvw::FeatureServices {}, printing);
    frame.resize(960, 640);
    frame.show();
    frame.openStartFile();
    QApplication::processEvents();
    QWidget *shot = &frame;
    if (calendar) {
        frame.runCommand(dvw::Cm::ViewCalendar);
        frame.resize(1100, 760);
        QApplication::processEvents();
    }
    if (!preview.isEmpty()) {
        if (preview == QStringLiteral("month"))
            frame.runCommand(dvw::Cm::ViewCalendar);
        frame.runCommand(dvw::Cm::PrintPreview);
        if (!previewSaved) {
            std::fprintf(stderr, "dayvane-screenshot: cannot write %s\n",
                         output.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }
    if (editDialog) {
        dvw::TApptDocument *doc = frame.documents().current();
        auto *list = doc ? qobject_cast<dvw::TApptView *>(
                         frame.documents().viewWindow(*doc, dvw::ListViewSlot)->widget())
                         : nullptr;
        for (int position = 0; list && position < 200; ++position) {
            const auto target = dvw::TargetAt(*doc, position);
            if (target && target->text.find("Team meeting") != std::string::npos) {
                list->setCursorLine(position);
                break;
            }
        }
        frame.runCommand(dvw::Cm::EditAppt);
        if (!saved) {
            std::fprintf(stderr, "dayvane-screenshot: cannot write %s\n",
                         output.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }
    if (listOnly) {
        dvw::TApptDocument *doc = frame.documents().document(0);
        dvw::dvwMDIChild *window
            = doc ? frame.documents().viewWindow(*doc, dvw::ListViewSlot) : nullptr;
        if (auto *list = window ? qobject_cast<QAbstractScrollArea *>(window->widget()) : nullptr) {
            list->parentWidget()->resize(520, 880);
            for (int i = 0; i < 15; ++i) {
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
                QApplication::sendEvent(list, &down);
            }
            QApplication::processEvents();
            shot = list->parentWidget();
        }
    }
    if (!shot->grab().save(output)) {
        std::fprintf(stderr, "dayvane-screenshot: cannot write %s\n",
                     output.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
