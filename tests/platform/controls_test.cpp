// Text box, check box, timer and the file lists as plain models.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/controls/check_box.h"
#include "platform/controls/file_lists.h"
#include "platform/controls/panel.h"
#include "platform/controls/text_box.h"
#include "platform/controls/timer.h"
#include "platform/failure.h"
#include "platform/form.h"

namespace wb {
namespace {

class TextBoxTest : public ::testing::Test {
protected:
    TextBoxTest() {
        box.Change = [this] { changes.push_back(box.text()); };
    }
    void type(const std::string& s) {
        for (unsigned char ch : s) box.userKeyPress(ch);
    }
    Form form{"Form1"};
    TextBox box{form, "Text1"};
    std::vector<std::string> changes;
};

TEST_F(TextBoxTest, ProgramWriteRaisesChangeOnlyWhenTextDiffers) {
    box.setText("N123");
    box.setText("N123");
    box.setText("");
    box.setText("");
    EXPECT_EQ(changes, (std::vector<std::string>{"N123", ""}));
}

TEST_F(TextBoxTest, ChangeRunsBeforeTheWriteReturnsAndMayWriteAgain) {
    box.Change = [this] {
        changes.push_back(box.text());
        if (box.text() == "abc") box.setText("ABC");
    };
    box.setText("abc");
    EXPECT_EQ(box.text(), "ABC");
    EXPECT_EQ(changes, (std::vector<std::string>{"abc", "ABC"}));
}

TEST_F(TextBoxTest, MaxLengthCutsProgramWritesAndStopsTyping) {
    box.setMaxLength(4);
    box.setText("ABCDEF");
    EXPECT_EQ(box.text(), "ABCD");
    box.setText("AB");
    box.setSelStart(2);
    type("xyz");
    EXPECT_EQ(box.text(), "ABxy");
    EXPECT_EQ(changes, (std::vector<std::string>{"ABCD", "AB", "ABx", "ABxy"}));
}

TEST_F(TextBoxTest, WriteCutToTheSameTextRaisesNoChange) {
    box.setMaxLength(3);
    box.setText("abc");
    box.setText("abcdef");
    EXPECT_EQ(changes, (std::vector<std::string>{"abc"}));
}

TEST_F(TextBoxTest, LoweringMaxLengthKeepsTheTextButLimitsTyping) {
    box.setText("ABCDEF");
    box.setMaxLength(3);
    EXPECT_EQ(box.text(), "ABCDEF");
    box.setSelStart(6);
    type("G");
    EXPECT_EQ(box.text(), "ABCDEF");
    box.userKeyPress(keys::kBack);
    EXPECT_EQ(box.text(), "ABCDE");
}

TEST_F(TextBoxTest, ProgramWritePutsTheCaretAtTheStart) {
    box.setText("hello");
    EXPECT_EQ(box.selStart(), 0);
    type("X");
    EXPECT_EQ(box.text(), "Xhello");
}

TEST_F(TextBoxTest, KeyPressGetsTheCodeByReference) {
    box.KeyPress = [](int& k) {
        if (k == 'q') k = 0;                  // discarded
        else if (k >= 'a' && k <= 'z') k -= 32;  // replaced
    };
    type("aqb1");
    EXPECT_EQ(box.text(), "AB1");
}

TEST_F(TextBoxTest, BackspaceEnterAndControlKeys) {
    type("ab");
    box.userKeyPress(keys::kBack);
    EXPECT_EQ(box.text(), "a");
    box.userKeyPress(keys::kReturn);
    box.userKeyPress(27);  // Escape inserts nothing
    EXPECT_EQ(box.text(), "a");
    box.setMultiLine(true);
    box.setSelStart(1);
    box.userKeyPress(keys::kReturn);
    type("b");
    EXPECT_EQ(box.text(), "a\r\nb");

    box.setText("");
    changes.clear();
    box.userKeyPress(keys::kBack);  // nothing to delete: no Change
    EXPECT_TRUE(changes.empty());
}

TEST_F(TextBoxTest, TypingReplacesTheSelection) {
    box.setMaxLength(5);
    box.setText("12345");
    box.setSelStart(1);
    box.setSelLength(3);
    type("x");
    EXPECT_EQ(box.text(), "1x5");
    EXPECT_EQ(box.selStart(), 2);
    EXPECT_EQ(box.selLength(), 0);
}

TEST_F(TextBoxTest, KeyDownEditsAndMovesTheCaret) {
    box.setText("abcd");
    box.userKeyDown(keys::kDelete, 0);
    EXPECT_EQ(box.text(), "bcd");
    box.userKeyDown(keys::kEnd, 0);
    box.userKeyDown(keys::kLeft, 0);
    box.userKeyDown(keys::kDelete, 0);
    EXPECT_EQ(box.text(), "bc");
    box.userKeyDown(keys::kDelete, 0);  // at the end: nothing
    EXPECT_EQ(box.text(), "bc");
    box.userKeyDown(keys::kHome, 0);
    type("a");
    EXPECT_EQ(box.text(), "abc");

    box.KeyDown = [](int& k, int) { k = 0; };
    box.userKeyDown(keys::kDelete, 0);
    EXPECT_EQ(box.text(), "abc");
}

TEST_F(TextBoxTest, SelectionIsClampedAndNegativeValuesFail) {
    box.setText("abc");
    box.setSelStart(10);
    EXPECT_EQ(box.selStart(), 3);
    box.setSelStart(1);
    box.setSelLength(10);
    EXPECT_EQ(box.selLength(), 2);
    EXPECT_THROW(box.setSelStart(-1), RuntimeError);
    EXPECT_THROW(box.setMaxLength(-1), RuntimeError);
}

TEST(CheckBoxTest, ClickTogglesBeforeClickRuns) {
    Form form("Form1");
    form.setVisible(true);
    CheckBox check(form, "Check3D1");
    std::vector<int> seen;
    check.Click = [&] { seen.push_back(check.value()); };
    form.userClick(check);
    form.userClick(check);
    check.setValue(2);  // a greyed box becomes ticked
    form.userClick(check);
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(check.value(), 1);
    EXPECT_THROW(check.setValue(3), RuntimeError);
}

TEST(CheckBoxTest, SpaceTogglesAndOtherKeysDoNot) {
    Form form("Form1");
    CheckBox check(form, "Check3D1");
    int clicks = 0;
    check.Click = [&] { ++clicks; };
    check.userKeyPress('a');
    check.userKeyPress(' ');
    EXPECT_EQ(check.value(), 1);
    EXPECT_EQ(clicks, 1);
    check.KeyPress = [](int& k) { k = 0; };
    check.userKeyPress(' ');
    EXPECT_EQ(check.value(), 1);
}

TEST(TimerTest, FiresOnlyWhenEnabled) {
    Form form("Form2");
    Timer timer(form, "Timer1");
    int fired = 0;
    timer.OnTimer = [&] { ++fired; };
    timer.setEnabled(false);
    timer.fire();
    EXPECT_EQ(fired, 0);
    timer.setEnabled(true);
    timer.fire();
    EXPECT_EQ(fired, 1);
}

TEST(ObserverTest, EveryPropertyWriteNotifies) {
    Form form("Form1");
    TextBox box(form, "Text1");
    int notified = 0;
    box.observe([&] { ++notified; });
    box.setText("a");
    box.setVisible(false);
    box.setForeColor(colors::kRed);
    box.move(1, 2, 3, 4);
    EXPECT_EQ(notified, 4);
}

class FileListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("wb-dirlist-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "beta");
        std::filesystem::create_directories(root / "alpha");
        std::filesystem::create_directories(root / ".hidden");
        std::ofstream(root / "file.txt") << "x";
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::filesystem::path root;
    Form form{"Form1"};
};

TEST_F(FileListsTest, DirListNormalisesAndRaisesChangeOnlyWhenItMoves) {
    DirList dir(form, "Dir1");
    int changes = 0;
    dir.Change = [&] { ++changes; };
    dir.setPath(root.string() + "/alpha/../beta/");
    EXPECT_EQ(dir.path(), root.string() + "/beta");
    dir.setPath(root.string() + "/beta");
    EXPECT_EQ(changes, 1);
    dir.setPath("/");
    EXPECT_EQ(dir.path(), "/");
    dir.setPath("//");
    EXPECT_EQ(changes, 2);
}

TEST_F(FileListsTest, DirListRefusesMissingFoldersAndFiles) {
    DirList dir(form, "Dir1");
    dir.setPath(root.string());
    for (const std::string& bad : {root.string() + "/missing", (root / "file.txt").string(), std::string()}) {
        try {
            dir.setPath(bad);
            ADD_FAILURE() << bad;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), kPathNotFound);
        }
    }
    EXPECT_EQ(dir.path(), root.string());
}

TEST_F(FileListsTest, DirListListsVisibleSubFoldersSorted) {
    DirList dir(form, "Dir1");
    dir.setPath(root.string());
    EXPECT_EQ(dir.subFolders(), (std::vector<std::string>{"alpha", "beta"}));
}

TEST_F(FileListsTest, DirListStartsOnTheWorkingFolder) {
    DirList dir(form, "Dir1");
    EXPECT_EQ(dir.path(), std::filesystem::current_path().string());
}

TEST_F(FileListsTest, DriveListHasRootAndRaisesChangeWhenItChanges) {
    DriveList drive(form, "Drive1");
    ASSERT_FALSE(drive.drives().empty());
    EXPECT_EQ(drive.drives().front(), "/");
    EXPECT_EQ(drive.driveOf("/no/such/volume/x"), "/");
    drive.setDrive("/");
    int changes = 0;
    drive.Change = [&] { ++changes; };
    drive.setDrive("/");
    drive.setDrive(root.string());
    drive.setDrive(root.string());
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(drive.setDrive(root.string() + "/missing"), RuntimeError);
}

}  // namespace
}  // namespace wb
