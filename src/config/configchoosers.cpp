#include "configchoosers.h"

#include "settings/settingvalue.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

#include <algorithm>
#include <cmath>

namespace dvw {

CustomColours FirstCustomColours()
{
    CustomColours colours;
    colours[0] = QColor(1, 1, 1);
    for (int i = 1; i < static_cast<int>(colours.size()); ++i)
        colours[static_cast<std::size_t>(i)] = QColor(16 * i, 16 * i, 16 * i);
    return colours;
}

QFont FontOfSlot(const FontSlot &slot)
{
    QFont font;
    font.setFamily(QString::fromStdString(slot.face));
    font.setPointSize(slot.size);
    font.setWeight(slot.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(slot.italic);
    return font;
}

FontSlot SlotOfFont(const QFont &font)
{
    FontSlot slot;
    slot.face = cutToCharacters(font.family().toStdString(), kFontFaceLength);
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : kFontSizeMin;
    slot.size = std::clamp(static_cast<int>(std::lround(points)), kFontSizeMin, kFontSizeMax);
    slot.bold = font.weight() > QFont::Medium;
    slot.italic = font.italic();
    return slot;
}

DialogConfigChoosers::DialogConfigChoosers(QWidget *parent)
    : m_parent(parent)
{ }

std::optional<QFont> DialogConfigChoosers::chooseFont(const QFont &current)
{
    QFontDialog dialog(current, m_parent);
    dialog.setOption(QFontDialog::ScalableFonts);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

std::optional<QColor> DialogConfigChoosers::chooseColour(const QColor &current,
                                                         CustomColours &custom)
{
    // The dialog keeps its custom colours for the whole application; ours are the truth.
    for (std::size_t i = 0; i < custom.size(); ++i)
        QColorDialog::setCustomColor(static_cast<int>(i), custom[i]);
    QColorDialog dialog(current, m_parent);
    dialog.setWindowModality(Qt::WindowModal);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    for (std::size_t i = 0; i < custom.size(); ++i)
        custom[i] = QColorDialog::customColor(static_cast<int>(i));
    if (!accepted)
        return std::nullopt;
    return dialog.selectedColor().toRgb();
}

QString DialogConfigChoosers::chooseFile(const QString &filter, const QString &initialName,
                                         const QString &suffix)
{
    QFileDialog dialog(m_parent, QString(), initialName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist yet is a file to be made, in a folder that does.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QFont> ScriptedConfigChoosers::chooseFont(const QFont &current)
{
    m_fontsShown.push_back(current);
    if (m_fonts.empty())
        return std::nullopt;
    const std::optional<QFont> font = m_fonts.front();
    m_fonts.pop_front();
    return font;
}

std::optional<QColor> ScriptedConfigChoosers::chooseColour(const QColor &current,
                                                           CustomColours &custom)
{
    m_coloursShown.push_back(current);
    m_customShown.push_back(custom);
    for (const CustomEdit &edit : m_customEdits)
        custom.at(edit.index) = edit.colour;
    m_customEdits.clear();
    if (m_colours.empty())
        return std::nullopt;
    const std::optional<QColor> colour = m_colours.front();
    m_colours.pop_front();
    return colour;
}

QString ScriptedConfigChoosers::chooseFile(const QString &filter, const QString &initialName,
                                           const QString &suffix)
{
    m_filesAsked.push_back({filter, initialName, suffix});
    if (m_files.empty())
        return {};
    QString path = m_files.front();
    m_files.pop_front();
    return path;
}

} // namespace dvw
