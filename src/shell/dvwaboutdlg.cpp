#include "dvwaboutdlg.h"

#include "icons.h"
#include "version.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace dvw {

namespace {

QLabel *line(const QString &text, const char *name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

dvwAboutDlg::dvwAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About dvw"));

    auto *icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(32, 32));
    auto *special = line(QString::fromUtf8(version::specialBuild), "specialBuildLine", this);
    special->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(line(QString::fromUtf8(version::productName), "productLine", this), 0, 1);
    grid->addWidget(line(versionLine(), "versionLine", this), 1, 1);
    grid->addWidget(line(QString::fromUtf8(version::legalCopyright), "legalLine", this), 2, 1);
    grid->addWidget(line(QString::fromUtf8(version::companyName), "companyLine", this), 3, 1);
    grid->addWidget(buttons, 4, 1);
    grid->addWidget(special, 5, 1);
}

QString dvwAboutDlg::versionLine()
{
    return QStringLiteral("%1 %2 %3")
        .arg(QString::fromUtf8(version::productName), QStringLiteral("Version "),
             QString::fromUtf8(version::productVersion));
}

} // namespace dvw
