// A category defined from the Categories menu is offered by the edit dialog at once.
#include "core/category.h"
#include "edit/edit.h"
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "views/searchinstall.h"

#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

class NewCategoryInFrame : public test::FrameFixture
{ };

TEST_F(NewCategoryInFrame, EditDialogListsTheNewCategory)
{
    writeFile(QStringLiteral("NOTES.APT"), "\\C WORK=Office\r\n12/8/2026 lunch\r\n");
    makeFrame({"dayvane", "NOTES.APT"});
    FeatureServices services;
    services.runDialog = [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("categoryCodeEdit"))->setText("home");
        dialog.findChild<QLineEdit *>(QStringLiteral("categoryDescriptionEdit"))
            ->setText("Family matters");
        return true;
    };
    services = completeServices(*frame, services);
    InstallViews(*frame, services);
    InstallSearch(*frame, services);
    InstallEdit(*frame, services);
    frame->showAtStart();
    frame->openStartFile();
    TApptDocument &doc = *frame->documents().document(0);

    const std::size_t before = FormDocumentOf(doc).categories.size();
    frame->runCommand(Cm::NewCategory);
    const FormDocument form = FormDocumentOf(doc);
    ASSERT_EQ(form.categories.size(), before + 1);
    const auto found
        = std::find_if(form.categories.begin(), form.categories.end(),
                       [](const CategoryItem &c) { return c.text == "Family matters"; });
    ASSERT_NE(found, form.categories.end());
    EXPECT_EQ(UnpackCategory(found->code), "HOME");
}

} // namespace
