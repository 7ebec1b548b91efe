#include "setup/report_font.h"

#include <cfloat>
#include <cmath>
#include <optional>

#include "app/form1.h"
#include "platform/dialogs.h"
#include "records/open_database.h"
#include "records/read_transaction.h"

namespace wb {

Font defaultReportFont() { return Font{"Arial", 18, true, false}; }

Criteria reportFontRowCriterion() { return Criteria("CompName", Compare::Equal, "Reports"); }

std::string fontFaceOf(const Value& compAddress) { return compAddress.toText(); }

float fontSizeOf(const Value& compCSZ) {
    const double size = compCSZ.toNumber();
    if (!std::isfinite(size) || std::fabs(size) > FLT_MAX) throw RuntimeError(kOverflow, "Overflow");
    return static_cast<float>(size);
}

bool fontFlagOf(const Value& column) { return column.toBool(); }

Value fontSizeColumn(double size) { return Value(Value::single(static_cast<float>(size)).toText()); }

Value fontFlagColumn(bool flag) { return Value(flag ? "-1" : "0"); }

void ReportFont::connect() {
    f.Command3D28.Click = [this] { Command3D28_Click(); };
}

void ReportFont::Command3D28_Click() {
    try {
        chooseAndStore(Form1::need(f.rsCompanyInfo));
    } catch (const RuntimeError&) {
        // Ends the action where it failed; what was saved stays.
    }
    // Also abandons a row that was begun and not saved.
    skipOnFailure([&] { Form1::need(f.rsCompanyInfo).MoveFirst(); });
}

// The font row rewritten, or added after the shop row when missing.
void ReportFont::storeFontRow(Recordset& rs, const Font& chosen) {
    rs.FindFirst(reportFontRowCriterion());
    if (!rs.NoMatch()) {
        rs.Edit();
    } else {
        // The shop row is the set's first row: a font row added to an empty
        // set would take its place.
        if (rs.IsBOF() && rs.IsEOF())
            throw RuntimeError(dberr::kNoCurrentRecord, "No shop row before the font row");
        rs.AddNew();
    }
    rs.setField("CompName", Value("Reports"));
    rs.setField("CompAddress", Value(chosen.name));
    rs.setField("CompCSZ", fontSizeColumn(chosen.size));
    rs.setField("CompPhone", fontFlagColumn(chosen.bold));
    rs.setField("FormTitle", fontFlagColumn(chosen.italic));
    rs.Update();
}

// The preset is read under a read lock (a database in use by another program
// is told), which ends before the dialog waits for the user.
void ReportFont::chooseAndStore(Recordset& rs) {
    Font preset = defaultReportFont();
    {
        std::optional<ReadTransaction> reads;
        if (!beginReading(f, reads)) return;
        rs.FindFirst(reportFontRowCriterion());
        if (!rs.NoMatch()) {
            preset.name = fontFaceOf(rs.field("CompAddress"));
            preset.size = fontSizeOf(rs.field("CompCSZ"));
            preset.bold = fontFlagOf(rs.field("CompPhone"));
            preset.italic = fontFlagOf(rs.field("FormTitle"));
        }
    }

    const std::optional<Font> chosen = f.services.dialogs->chooseFont(preset);
    if (!chosen) return;

    try {
        storeFontRow(rs, *chosen);
    } catch (const RuntimeError& e) {
        skipOnFailure([&] { rs.CancelUpdate(); });
        f.services.dialogs->MsgBox(kPressOkToContinue, msgbox::kOkOnly | msgbox::kCritical,
                                   notStoredTitle("Font not saved", e, f.dbRecords ? f.dbRecords->path() : ""));
        return;
    }

    Font sample = *chosen;
    sample.size = static_cast<float>(chosen->size);
    f.Text28.setFont(sample);
    f.Text28.setText(f.Text17.text());
}

}  // namespace wb
