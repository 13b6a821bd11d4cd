#include "shell/commandtable.h"
#include "shell/icons.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <vector>

using namespace dvw;

namespace {

QImage picture(const QIcon &icon, int size)
{
    return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The share of pixels, in percent, where two pictures of one size differ visibly.
int differingPercent(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 100;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            const int distance = std::abs(p.red() - q.red()) + std::abs(p.green() - q.green())
                + std::abs(p.blue() - q.blue()) + std::abs(p.alpha() - q.alpha());
            differing += distance > 96;
        }
    }
    return differing * 100 / (a.width() * a.height());
}

int inkPercent(const QImage &image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixelColor(x, y).alpha() > 128;
    }
    return ink * 100 / (image.width() * image.height());
}

} // namespace

TEST(ButtonIcons, EveryButtonShowsAPictureOfItsOwnAtEverySize)
{
    struct Source
    {
        const char *name;
        QIcon (*icon)(int);
    };
    // What this machine shows (its theme's where it has one), and what the program draws
    // where it has none.
    const Source sources[] = {{"shown", CommandIcon}, {"drawn", DrawnCommandIcon}};
    for (const Source &source : sources) {
        for (int size : {16, 24, 32}) {
            SCOPED_TRACE(std::string(source.name) + " at " + std::to_string(size));
            std::vector<std::pair<int, QImage>> seen;
            for (int command : ButtonBar()) {
                if (command == 0)
                    continue;
                const QIcon icon = source.icon(command);
                ASSERT_FALSE(icon.isNull()) << command;
                const QImage image = picture(icon, size);
                EXPECT_GE(inkPercent(image), 10) << command;
                for (const auto &[other, otherImage] : seen)
                    EXPECT_GE(differingPercent(image, otherImage), 8)
                        << command << " looks like " << other;
                seen.emplace_back(command, image);
            }
        }
    }
}
