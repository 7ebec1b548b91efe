#pragma once
// The report heading font: the "Fonts" button of the set-up panel, and the
// font row of table CompanyInfo (CompName "Reports") that holds the choice in
// CompAddress (face), CompCSZ (size), CompPhone (bold) and FormTitle (italic).
#include "app/subsystem.h"
#include "platform/controls/control.h"
#include "platform/database.h"

namespace wb {

class Recordset;

// The font when no font row is stored: Arial, 18 points, bold, not italic.
Font defaultReportFont();
// CompName = 'Reports', searched from the start of the company set.
Criteria reportFontRowCriterion();

// The conversions of the font row's columns; each fails (94 for Null, 13 for
// a text that does not convert, 6 for a size beyond a single) as the runtime's.
std::string fontFaceOf(const Value& compAddress);
float fontSizeOf(const Value& compCSZ);
bool fontFlagOf(const Value& column);

// The font row's text forms of what the font dialog chose: the size's own
// decimal text ("10.5") and -1 / 0 for the flags, so that every reader of the
// row reads them back.
Value fontSizeColumn(double size);
Value fontFlagColumn(bool flag);

class ReportFont : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    // "Fonts": the font dialog preset from the font row (or the defaults); OK
    // writes the row, adding it when missing, and shows the font in Text28.
    // Cancel and every failure before the write end it silently; a write that
    // fails is told. The company set is always left on its first row.
    void Command3D28_Click();

private:
    void chooseAndStore(Recordset& rs);
    void storeFontRow(Recordset& rs, const Font& chosen);
};

}  // namespace wb
