#include "setup/setup_panel.h"

#include <cmath>

#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/dialogs.h"
#include "records/open_database.h"
#include "records/read_transaction.h"
#include "setup/report_font.h"
#include "setup/setup_panel_layout.h"

namespace wb {

namespace {

// A font size the sample box can take.
float sampleSize(float size) {
    if (!(size > 0 && size <= 2160)) throw RuntimeError(kInvalidCall, "Invalid font size");
    return size;
}

}  // namespace

void SetupPanel::connect() {
    layOutSetupPanel(f);

    f.Command3D18.Click = [this] { Command3D18_Click(); };
    f.Text17.LostFocus = [this] { Text17_LostFocus(); };
    f.Check3D4.LostFocus = [this] { Check3D4_LostFocus(); };
    f.Command3D40.Click = [this] { Command3D40_Click(); };

    // Enter moves on; the key itself then goes on to the control as typed.
    struct RingStep { Control& from; Control& to; };
    const RingStep ring[] = {
        {f.Text17, f.Text18},     {f.Text18, f.Text19},     {f.Text19, f.Text20},
        {f.Text20, f.Text21},     {f.Text21, f.Text29},     {f.Text29, f.Text25},
        {f.Text25, f.Text26},     {f.Text26, f.Check3D1},   {f.Check3D1, f.Check3D2},
        {f.Check3D2, f.Check3D3}, {f.Check3D3, f.Check3D4},
    };
    for (const RingStep& step : ring) {
        Control* next = &step.to;
        step.from.KeyPress = [next](int& keyAscii) {
            if (keyAscii == 13) next->SetFocus();
        };
    }
}

void SetupPanel::Command3D18_Click() {
    if (f.Panel3D7.visible())
        closePanel();
    else
        openPanel();
}

std::string SetupPanel::shopText(const char* column) {
    std::string text;
    skipOnFailure([&] {
        const Value v = Form1::need(f.rsCompanyInfo).field(column);
        if (!v.isNull()) text = v.toText();
    });
    return text;
}

// The shop row is read under one read lock: a record database in use by
// another program past the wait is told and the panel stays closed, rather
// than open with boxes its closing would store empty.
void SetupPanel::openPanel() {
    std::optional<ReadTransaction> reads;
    if (!beginReading(f, reads)) return;
    skipOnFailure([&] { f.rsCompanyInfo = Form1::need(f.dbRecords).CreateDynaset("CompanyInfo"); });

    struct BoxColumn { TextBox& box; const char* column; };
    const BoxColumn boxes[] = {
        {f.Text17, "CompName"},   {f.Text18, "CompAddress"}, {f.Text19, "CompCSZ"},
        {f.Text21, "FormTitle"},  {f.Text29, "EquipTitle"},  {f.Text25, "Mechanic"},
        {f.Text26, "Cert"},
    };
    for (const BoxColumn& b : boxes) b.box.setText(shopText(b.column));

    // A flag that is Null or cannot be read leaves its box as it was.
    struct CheckColumn { CheckBox& check; const char* column; };
    const CheckColumn checks[] = {
        {f.Check3D1, "PrintCo"}, {f.Check3D2, "PrintCG"},
        {f.Check3D3, "PrintMech"}, {f.Check3D4, "PrintNotes"},
    };
    for (const CheckColumn& c : checks) {
        skipOnFailure([&] {
            const double flag = std::fabs(Form1::need(f.rsCompanyInfo).field(c.column).toNumber());
            c.check.setValue(flag != 0 ? 1 : 0);
        });
    }

    skipOnFailure([&] {
        const Value phone = f.Data1.row().field("CompanyPhone");
        f.Text20.setText(phone.isNull() ? std::string() : phone.toText());
    });

    fillSample();
    skipOnFailure([&] { f.Text28.setText(f.Text17.text()); });
    skipOnFailure([&] { Form1::need(f.rsCompanyInfo).MoveFirst(); });
    skipOnFailure([&] { f.Panel3D7.setVisible(true); });
    skipOnFailure([&] { f.Text17.SetFocus(); });
}

// The sample's font from the font row; with no row, or when the search fails,
// the default font. A font-row value that does not convert leaves that one
// attribute as it was.
void SetupPanel::fillSample() {
    bool found = false;
    skipOnFailure([&] {
        Recordset& rs = Form1::need(f.rsCompanyInfo);
        rs.FindFirst(reportFontRowCriterion());
        found = !rs.NoMatch();
    });
    if (!found) {
        f.Text28.setFont(defaultReportFont());
        return;
    }
    auto attribute = [&](auto set) {
        skipOnFailure([&] {
            Font font = f.Text28.font();
            set(font, Form1::need(f.rsCompanyInfo));
            f.Text28.setFont(font);
        });
    };
    attribute([](Font& font, Recordset& rs) { font.name = fontFaceOf(rs.field("CompAddress")); });
    attribute([](Font& font, Recordset& rs) { font.size = sampleSize(fontSizeOf(rs.field("CompCSZ"))); });
    attribute([](Font& font, Recordset& rs) { font.bold = fontFlagOf(rs.field("CompPhone")); });
    attribute([](Font& font, Recordset& rs) { font.italic = fontFlagOf(rs.field("FormTitle")); });
}

// Closing stores the phone in the settings row and the boxes in the shop row.
// A write that fails is told, with what failed in the title; with no record
// database open, or no shop row, there is no shop row to write and nothing to
// tell. The panel closes in every case.
void SetupPanel::closePanel() {
    auto tell = [&](const RuntimeError& why, const std::string& path) {
        f.services.dialogs->MsgBox(kPressOkToContinue, msgbox::kOkOnly | msgbox::kCritical,
                                   notStoredTitle("Set-up not saved", why, path));
    };
    try {
        f.Data1.write([&](Recordset& row) { row.setField("CompanyPhone", Value(f.Text20.text())); });
    } catch (const RuntimeError& e) {
        if (e.number() != kObjectNotSet) tell(e, SettingsStore::kFileName);
    }

    const std::string records = f.dbRecords ? f.dbRecords->path() : std::string();
    Recordset* shop = f.rsCompanyInfo.get();
    bool editing = false;
    if (shop) {
        try {
            shop->Edit();
            editing = true;
        } catch (const RuntimeError& e) {
            if (e.number() != dberr::kNoCurrentRecord && e.number() != dberr::kObjectClosed) tell(e, records);
        }
    }
    if (editing) {
        struct ColumnBox { const char* column; const TextBox& box; };
        const ColumnBox texts[] = {
            {"CompName", f.Text17},  {"CompAddress", f.Text18}, {"CompCSZ", f.Text19},
            {"CompPhone", f.Text20}, {"FormTitle", f.Text21},   {"EquipTitle", f.Text29},
            {"Mechanic", f.Text25},  {"Cert", f.Text26},
        };
        for (const ColumnBox& t : texts) skipOnFailure([&] { shop->setField(t.column, Value(t.box.text())); });
        struct ColumnCheck { const char* column; const CheckBox& check; };
        const ColumnCheck flags[] = {
            {"PrintCo", f.Check3D1}, {"PrintCG", f.Check3D2},
            {"PrintMech", f.Check3D3}, {"PrintNotes", f.Check3D4},
        };
        for (const ColumnCheck& c : flags)
            skipOnFailure([&] { shop->setField(c.column, Value(c.check.value() == 1 ? 1 : 0)); });
        try {
            shop->Update();
        } catch (const RuntimeError& e) {
            skipOnFailure([&] { shop->CancelUpdate(); });
            tell(e, records);
        }
    }

    skipOnFailure([&] { f.Panel3D7.setVisible(false); });
    skipOnFailure([&] { f.Text1.SetFocus(); });
}

void SetupPanel::Text17_LostFocus() { f.Text28.setText(f.Text17.text()); }

void SetupPanel::Check3D4_LostFocus() {
    // Once the panel is hidden there is nowhere in it to go back to.
    if (f.Panel3D7.visible()) f.Text17.SetFocus();
}

void SetupPanel::Command3D40_Click() { f.ShowDataPathPanel(); }

}  // namespace wb
