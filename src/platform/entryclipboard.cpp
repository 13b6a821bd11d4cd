#include "entryclipboard.h"

#include "displaytext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace dvw {

namespace {

const QString lineMimeType = QStringLiteral("application/x-dayvane-line");

class SystemClipboard : public EntryClipboard
{
public:
    bool put(const std::string &lineBytes) override
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (clipboard == nullptr)
            return false;
        auto *data = new QMimeData;
        data->setText(DisplayText(lineBytes));
        data->setData(lineMimeType,
                      QByteArray(lineBytes.data(), static_cast<qsizetype>(lineBytes.size())));
        clipboard->setMimeData(data);
        return true;
    }
    bool hasText() const override
    {
        const QClipboard *clipboard = QGuiApplication::clipboard();
        const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
        if (data == nullptr)
            return false;
        if (data->hasFormat(lineMimeType))
            return !data->data(lineMimeType).isEmpty();
        return data->hasText() && !data->text().isEmpty();
    }
    // Qt opens the clipboard for every call and gives empty data when its owner does not
    // answer, so only a missing clipboard cannot be opened.
    bool busy() const override { return QGuiApplication::clipboard() == nullptr; }
    std::optional<std::string> text() const override
    {
        const QClipboard *clipboard = QGuiApplication::clipboard();
        const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
        if (data == nullptr)
            return std::nullopt;
        if (std::optional<std::string> line = CopiedLineOf(data))
            return line;
        if (!data->hasText())
            return std::nullopt;
        return data->text().toStdString();
    }
};

} // namespace

std::optional<std::string> CopiedLineOf(const QMimeData *data)
{
    if (data == nullptr || !data->hasFormat(lineMimeType))
        return std::nullopt;
    const QByteArray bytes = data->data(lineMimeType);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::unique_ptr<EntryClipboard> SystemEntryClipboard()
{
    return std::make_unique<SystemClipboard>();
}

} // namespace dvw
