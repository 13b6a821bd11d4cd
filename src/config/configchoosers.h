#pragma once

#include "settings/fontvalue.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <array>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace dvw {

// The colour chooser's sixteen custom colours.
using CustomColours = std::array<QColor, 16>;
// The custom colours the chooser starts with: (1, 1, 1), then greys from (16, 16, 16) up to
// (240, 240, 240) in steps of 16.
CustomColours FirstCustomColours();

// The font chooser shows a slot as this font (weight normal or bold, the slot's size in
// points); a chosen font becomes a slot again: bold above medium weight, the size rounded
// to whole points and held to the sizes a stored font may have, the face cut to its length.
QFont FontOfSlot(const FontSlot &slot);
FontSlot SlotOfFont(const QFont &font);

// The choosers of the Configure menu: font, colour and file. Tests answer them from a
// script instead of a modal dialog.
class ConfigChoosers
{
public:
    virtual ~ConfigChoosers() = default;
    // A scalable font, starting from `current`; nothing when cancelled.
    virtual std::optional<QFont> chooseFont(const QFont &current) = 0;
    // A colour, starting from `current`, with the custom colours on offer; the user's changes
    // to them are kept in `custom`, also when cancelled.
    virtual std::optional<QColor> chooseColour(const QColor &current, CustomColours &custom) = 0;
    // A file to open, or a new name in an existing folder; empty when cancelled. `filter` is
    // in Qt's form; `suffix` is added to a name given without one.
    virtual QString chooseFile(const QString &filter, const QString &initialName,
                               const QString &suffix)
        = 0;
};

// The desktop's QFontDialog, QColorDialog and QFileDialog, modal to the main window.
class DialogConfigChoosers : public ConfigChoosers
{
public:
    explicit DialogConfigChoosers(QWidget *parent);

    std::optional<QFont> chooseFont(const QFont &current) override;
    std::optional<QColor> chooseColour(const QColor &current, CustomColours &custom) override;
    QString chooseFile(const QString &filter, const QString &initialName,
                       const QString &suffix) override;

private:
    QWidget *m_parent;
};

// Answers with the queued fonts, colours and paths in order; with none left it cancels.
// Records what each chooser was shown.
class ScriptedConfigChoosers : public ConfigChoosers
{
public:
    struct FileAsked
    {
        QString filter;
        QString initialName;
        QString suffix;
    };

    // Nothing for a chooser that is cancelled.
    void pushFont(const std::optional<QFont> &font) { m_fonts.push_back(font); }
    void pushColour(const std::optional<QColor> &colour) { m_colours.push_back(colour); }
    // A custom colour the user edits while the next colour chooser is open.
    void pushCustomEdit(std::size_t index, const QColor &colour)
    {
        m_customEdits.push_back({index, colour});
    }
    void pushFile(const QString &path) { m_files.push_back(path); }

    const std::vector<QFont> &fontsShown() const { return m_fontsShown; }
    const std::vector<QColor> &coloursShown() const { return m_coloursShown; }
    const std::vector<CustomColours> &customShown() const { return m_customShown; }
    const std::vector<FileAsked> &filesAsked() const { return m_filesAsked; }

    std::optional<QFont> chooseFont(const QFont &current) override;
    std::optional<QColor> chooseColour(const QColor &current, CustomColours &custom) override;
    QString chooseFile(const QString &filter, const QString &initialName,
                       const QString &suffix) override;

private:
    struct CustomEdit
    {
        std::size_t index;
        QColor colour;
    };

    std::deque<std::optional<QFont>> m_fonts;
    std::deque<std::optional<QColor>> m_colours;
    std::deque<CustomEdit> m_customEdits;
    std::deque<QString> m_files;
    std::vector<QFont> m_fontsShown;
    std::vector<QColor> m_coloursShown;
    std::vector<CustomColours> m_customShown;
    std::vector<FileAsked> m_filesAsked;
};

} // namespace dvw
