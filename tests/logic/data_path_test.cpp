// The data-path panel: its layout, ShowDataPathPanel's presets, Save and Exit,
// and the stored folder taking effect at the next start.
#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "logic/opening_fixture.h"
#include "setup/data_path_panel.h"

namespace wb::testing {
namespace {

std::string storedPath(Form1& f) {
    const Value v = f.Data1.row().field("DataPath");
    return v.isNull() ? "<Null>" : v.toText();
}

TEST(DataPathPanel, ContentsLieInThePanelAtTheirPlaces) {
    OpeningFixture w;
    Form1& f = w.start();
    struct Place { Control& c; int left, top, width, height, tab; };
    const Place places[] = {
        {f.Label28, 690, 465, 2760, 285, -1},    {f.Drive1, 675, 765, 3135, 315, 0},
        {f.Dir1, 660, 1440, 3135, 1605, 1},      {f.Command3D31, 3615, 3375, 1180, 495, 2},
        {f.Command3D39, 150, 3405, 1180, 495, 3},
    };
    for (const Place& p : places) {
        EXPECT_EQ(p.c.container(), &f.Panel3D11) << p.c.name();
        EXPECT_EQ(p.c.left(), p.left) << p.c.name();
        EXPECT_EQ(p.c.top(), p.top) << p.c.name();
        EXPECT_EQ(p.c.width(), p.width) << p.c.name();
        EXPECT_EQ(p.c.height(), p.height) << p.c.name();
        if (p.tab >= 0) {
            EXPECT_EQ(p.c.tabIndex(), f.Drive1.tabIndex() + p.tab) << p.c.name();
        }
    }
    EXPECT_EQ(f.Label28.caption(), "Select path to data, press SAVE");
    EXPECT_EQ(f.Command3D31.caption(), "Exit");
    EXPECT_EQ(f.Command3D39.caption(), "Save");
    EXPECT_EQ(f.Command3D39.font(), (Font{"MS Sans Serif", 13.5, true, false}));
    EXPECT_EQ(f.Command3D31.font(), (Font{"MS Sans Serif", 13.5, true, false}));
}

TEST(DataPathPanel, WithoutAStoredFolderTheListsShowTheWorkingFolder) {
    OpeningFixture w;
    Form1& f = w.start();
    const std::string before = w.focus();
    f.setMousePointer(pointer::kHourglass);
    f.ShowDataPathPanel();
    EXPECT_TRUE(f.Panel3D11.visible());
    EXPECT_EQ(f.mousePointer(), pointer::kDefault);
    EXPECT_EQ(f.Dir1.path(), fs::canonical(w.folder.path()).string());
    EXPECT_EQ(f.Drive1.drive(), f.Drive1.driveOf(w.folder.path()));
    EXPECT_EQ(w.focus(), before);  // no control receives the focus
}

TEST(DataPathPanel, SaveStoresTheOpenFolderAndKeepsThePanel) {
    OpeningFixture w;
    const std::string a = w.subFolder("a"), b = w.subFolder("b");
    Form1& f = w.start();
    f.dispatch([&] { f.Dir1.setPath(a); });  // a double click opens it
    f.userClick(f.Command3D39);
    EXPECT_EQ(storedPath(f), a);
    EXPECT_TRUE(f.Panel3D11.visible());
    // Save twice: the second folder replaces the first.
    f.dispatch([&] { f.Dir1.setPath(b); });
    f.userClick(f.Command3D39);
    EXPECT_EQ(storedPath(f), b);
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(f.dbRecords, nullptr);  // used from the next start
    EXPECT_EQ(f.containedFailures(), 0);
}

TEST(DataPathPanel, SaveReopensTheStoreWhenItWasClosed) {
    OpeningFixture w;
    Form1& f = w.start();
    f.Data1.close();
    f.userClick(f.Command3D39);
    EXPECT_EQ(storedPath(f), f.Dir1.path());
}

TEST(DataPathPanel, ExitHidesAndStoresNothing) {
    OpeningFixture w;
    const std::string a = w.subFolder("a");
    w.settings(a);
    Form1& f = w.start();  // a new record database opens in a
    ASSERT_NE(f.dbRecords, nullptr);
    f.ShowDataPathPanel();
    f.dispatch([&] { f.Dir1.setPath(w.folder.path()); });
    f.userClick(f.Command3D31);
    EXPECT_FALSE(f.Panel3D11.visible());
    EXPECT_EQ(storedPath(f), a);
    EXPECT_TRUE(f.dbRecords->isOpen());
    // Opening the panel again presets the lists from the stored folder.
    f.ShowDataPathPanel();
    EXPECT_EQ(f.Dir1.path(), a);
}

TEST(DataPathPanel, AStoredFolderThatIsGoneLeavesTheLists) {
    OpeningFixture w;
    w.settings(w.folder.file("gone"));
    Form1& f = w.start();
    const std::string sub = w.subFolder("sub");
    f.dispatch([&] { f.Dir1.setPath(sub); });
    f.dispatch([&] { f.Dir1.setPath(w.folder.path()); });
    const int failures = f.containedFailures();
    f.ShowDataPathPanel();
    EXPECT_TRUE(f.Panel3D11.visible());
    EXPECT_EQ(f.Dir1.path(), fs::canonical(w.folder.path()).string());
    EXPECT_EQ(f.containedFailures(), failures);
}

TEST(DataPathPanel, AChosenVolumeOpensAtItsTopFolder) {
    OpeningFixture w;
    Form1& f = w.start();
    ASSERT_EQ(f.Drive1.drives().front(), "/");
    f.subsystem<DataPathPanel>().Drive1_Change();
    EXPECT_EQ(f.Dir1.path(), f.Drive1.drive());
}

TEST(DataPathPanel, TheSavedFolderIsUsedFromTheNextStart) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    {
        Form1& f = w.start();
        EXPECT_TRUE(f.Panel3D11.visible());
        f.dispatch([&] { f.Dir1.setPath(data); });
        f.userClick(f.Command3D39);
        f.userClick(f.Command3D31);
        EXPECT_EQ(f.dbRecords, nullptr);  // not in this run
        w.stop();
    }
    Form1& f = w.start();
    ASSERT_NE(f.dbRecords, nullptr);
    EXPECT_EQ(f.dbRecords->path(), data + "/KORRIN.MDB");
    EXPECT_TRUE(f.Panel3D7.visible());
    EXPECT_EQ(w.focus(), "Text17");
    EXPECT_FALSE(f.Panel3D11.visible());
}

}  // namespace
}  // namespace wb::testing
