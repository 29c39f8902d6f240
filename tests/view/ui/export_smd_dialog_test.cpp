#include "smd_export/smd_writer.h"
#include "smd_export/ui/export_smd_dialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace mw {
namespace {

TEST(ExportSmdDialog, ReturnsTheLayoutAndKeepsItWhileHidden)
{
    ExportSmdDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Export SMD");
    auto* single = dialog.findChild<QRadioButton*>("Option2");
    auto* ok = dialog.findChild<QPushButton*>("OKButton");
    auto* cancel = dialog.findChild<QPushButton*>("CancelButton");
    ASSERT_TRUE(single && ok && cancel && dialog.findChild<QRadioButton*>("Option1"));
    EXPECT_EQ(ok->text(), "Export");
    EXPECT_EQ(dialog.mode(), kSmdMultipleBones);
    QSignalSpy exported(&dialog, &ExportSmdDialog::exportRequested);
    QSignalSpy cancelled(&dialog, &ExportSmdDialog::cancelled);
    dialog.show();
    single->click();
    ok->click();
    EXPECT_TRUE(dialog.isHidden());
    ASSERT_EQ(exported.count(), 1);
    EXPECT_EQ(exported.at(0).at(0).value<std::int16_t>(), kSmdSingleBone);
    dialog.show();
    EXPECT_TRUE(single->isChecked());
    cancel->click();
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(exported.count(), 1);
}

} // namespace
} // namespace mw
