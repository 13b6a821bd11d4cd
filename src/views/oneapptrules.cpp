#include "oneapptrules.h"

#include "platform/displaytext.h"
#include "store/tapptdocument.h"

namespace dvw::OneAppt {

namespace {

bool isEntry(const IndexTy &line)
{
    return line.kind == DatedEntry || line.kind == NoteEntry;
}

} // namespace

std::string_view RecordText(TApptDocument &doc, int position)
{
    const std::vector<IndexTy> &index = doc.engine().index();
    if (position < 0 || static_cast<std::size_t>(position) >= index.size())
        return {};
    const IndexTy &line = index[static_cast<std::size_t>(position)];
    const std::vector<TimeString> &lines = doc.lineTable();
    if (!isEntry(line) || line.value < 0 || static_cast<std::size_t>(line.value) >= lines.size())
        return {};
    const std::string &text = lines[static_cast<std::size_t>(line.value)].text;
    const auto start = static_cast<std::size_t>(
        std::max(0, lines[static_cast<std::size_t>(line.value)].textStart));
    return start < text.size() ? std::string_view(text).substr(start) : std::string_view();
}

QString DisplayRecord(std::string_view bytes)
{
    return DisplayText(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int RefreshedLine(TApptDocument &doc, std::optional<int> listCursor, int shown)
{
    const auto size = doc.engine().index().size();
    const auto inIndex = [size](int p) { return p >= 0 && static_cast<std::size_t>(p) < size; };
    if (size == 0)
        return -1;
    if (listCursor)
        return inIndex(*listCursor) ? *listCursor : -1;
    return inIndex(shown) ? shown : -1;
}

PaneKey PaneKeyFor(int key, Qt::KeyboardModifiers modifiers)
{
    const bool plain = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (key == Qt::Key_F1)
        return PaneKey::Help;
    if (key == Qt::Key_Tab && plain && !(modifiers & Qt::ShiftModifier))
        return PaneKey::FocusList;
    // V as a typed character, either case; Ctrl+V stays the edit's (a no-op when read-only).
    if (key == Qt::Key_V && plain)
        return PaneKey::ToggleCalendar;
    return PaneKey::Own;
}

} // namespace dvw::OneAppt
