// Long random sequences of user input on the whole headless program (splash,
// main window, a real record database): typed keys, key-downs, clicks, cell
// clicks and random answers to every dialog. After every event: no handler
// failure reached the form, every grid keeps its row count, the mouse pointer
// is back to the default; every 500 events and at the end both database files
// pass integrity_check. After every Save that stores the worksheet, the
// stored weighing is shown on a second main window (on this one's equipment
// set, as a move to it would show it) and must give the same header boxes,
// grids and results as the worksheet that was saved.
//
// No figure stored or printed differs from a fresh recalculation of the
// worksheet on screen: after every Save and every printout the boxes hold
// what the recalculation gives now, and a printout prints those figures; a
// worksheet whose totals fail is neither stored nor printed. No unsaved edit
// is discarded without the question: New, Exit and the window's close button
// ask whenever the worksheet differs from what was last saved, started or
// shown (Next and Previous browse away by design; a deletion is asked for;
// the end of the desktop session asks nothing).
//
//   WB_RANDOM_EVENTS  number of events (default 5000)
//   WB_RANDOM_SEED    seed (default fixed); the seed used is printed
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "platform/dates.h"
#include "platform/numbers.h"
#include "records/shown_rows.h"
#include "worksheet/recalculation.h"
#include "logic/database_integrity.h"
#include "logic/opening_fixture.h"
#include "platform/recording_printer.h"
#include "platform/utf8.h"

namespace wb::testing {
namespace {

unsigned long envNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

// Answers every dialog at random with one of the buttons it shows.
class RandomDialogs : public Dialogs {
public:
    explicit RandomDialogs(std::mt19937& random) : random_(random) {}
    std::map<std::string, int> shown;  // message texts, how often
    std::vector<std::pair<std::string, int>> answers;  // titles and answers, since the last clear

    int MsgBox(const std::string& text, int style, const std::string& title) override {
        ++shown[title + ": " + text];
        const int answer = answerTo(text, style);
        answers.emplace_back(title, answer);
        return answer;
    }
    std::optional<Font> chooseFont(const Font& preset) override {
        if (random_() % 2) return std::nullopt;
        static const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
        Font f = preset;
        f.name = faces[random_() % 3];
        f.size = 6 + random_() % 20;
        f.bold = random_() % 2;
        f.italic = random_() % 2;
        return f;
    }
    bool choosePrinter() override { return random_() % 2; }

private:
    int answerTo(const std::string& text, int style) {
        // Mostly stay: long runs of one program reach deeper states than restarts.
        if (text == "OK to exit program without saving?" && random_() % 8) return msgbox::kNo;
        switch (style & 7) {
        case msgbox::kYesNo: return pick({msgbox::kYes, msgbox::kNo});
        case msgbox::kOkCancel: return pick({msgbox::kOk, msgbox::kCancel});
        case msgbox::kYesNoCancel: return pick({msgbox::kYes, msgbox::kNo, msgbox::kCancel});
        default: return msgbox::kOk;
        }
    }
    int pick(std::initializer_list<int> answers) {
        return *(answers.begin() + random_() % answers.size());
    }
    std::mt19937& random_;
};

// The number of rows of a table, or -1.
long rowsOf(const std::string& file, const std::string& table) {
    sqlite3* db = nullptr;
    long rows = -1;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, ("SELECT count(*) FROM \"" + table + "\"").c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        rows = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

// Message boxes of the second window: none is expected; each is counted.
class QuietDialogs : public Dialogs {
public:
    int shown = 0;
    int MsgBox(const std::string&, int style, const std::string&) override {
        ++shown;
        return (style & 7) == msgbox::kYesNo ? msgbox::kNo : msgbox::kOk;
    }
    std::optional<Font> chooseFont(const Font&) override { return std::nullopt; }
    bool choosePrinter() override { return false; }
};

// A text's number by the leading-number parse, or nothing.
std::optional<double> numberIn(const std::string& text) {
    try {
        return parseLeadingNumber(text);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// Two shown numbers agree within the rounding of the masks ("#####0.0" and finer).
bool sameShownNumber(double a, double b) {
    return std::abs(a - b) <= 0.051 + 1e-6 * std::max(std::abs(a), std::abs(b));
}

// A number cell as the worksheet computes with it: the leading number, a
// blank or unreadable cell 0.
double cellNumber(const std::string& text) { return numberIn(text).value_or(0); }

std::vector<std::string> cellsOf(const std::string& rowText) {
    std::vector<std::string> cells;
    std::string::size_type start = 0;
    while (true) {
        const auto tab = rowText.find('\t', start);
        cells.push_back(rowText.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

// A grid row as the round trip compares it: 'T' a text cell, 'N' a number
// cell (compared by value), '-' a cell it leaves out (a moment, derived from
// the others and checked through the results).
using Row = std::vector<std::string>;
const std::map<std::string, std::string> kColumns = {
    {"Grid1", "TTNN-TT"}, {"Grid2", "TNNN-"}, {"Grid3", "TTNN-"}, {"Grid4", "TNN-"}};

// What the round trip compares: header boxes and results as texts, grids as cells.
struct Shown {
    std::map<std::string, std::string> boxes;
    std::map<std::string, std::vector<Row>> grids;
    bool results = true;  // false: the display ends before the recalculation
};

const char* const kHeaderBoxes[] = {"Text1", "Text2",  "Text3",  "Text4",  "Text5",  "Text6",  "Text7", "Text8",
                                    "Text9", "Text10", "Text11", "Text12", "Text13", "Text14", "Text15", "Text16",
                                    "Text22", "Text23", "Text24", "Text27"};
const std::pair<const char*, int> kGrids[] = {{"Grid1", 30}, {"Grid2", 5}, {"Grid4", 5}, {"Grid3", 100}};

Shown shownOn(const Form1& f) {
    Shown out;
    for (const char* name : kHeaderBoxes) out.boxes[name] = dynamic_cast<const TextBox&>(*f.find(name)).text();
    for (const auto& [name, rows] : kGrids) {
        const auto& g = dynamic_cast<const Grid&>(*f.find(name));
        for (int r = 0; r < rows; ++r) out.grids[name].push_back(cellsOf(g.rowText(r)));
    }
    return out;
}

// An element's text, and the number the save stores for it: the leading
// number (Null 0) in normal mode; in search mode the element itself, which
// a number column takes only when it is a number.
std::string elementText(const Value& v) { return v.isNull() ? "" : v.toText(); }
std::string storedNumber(const Value& v, bool searchMode) {
    if (searchMode) return isNumericValue(v) ? numberToText(leadingNumberOf(v)) : "";
    return numberToText(cellNumber(elementText(v)));
}

// One equipment row as the save writes it.
struct EquipmentRow {
    int rowNum;
    std::string desc, serial, weight, arm;
    bool install = false, remove = false;
    bool changeRow() const { return install || remove || desc == kPreviousEmpty; }
};

// The worksheet as it was saved, as showing it again must give it: the saved
// rows of each list closed up and numbered from 0, a change-list row without
// a mark read back as a list row after the list's own rows, row 0
// made from the header boxes when no stored previous-empty row is found, the
// numbers in the form their stored values take, and the recalculation that
// ends the display run on the worksheet so shown.
Shown expectedAfterSave(const Form1& f, bool searchMode, bool equipmentTableEmpty) {
    Shown out = shownOn(f);
    const WorksheetState& ws = f.ws;
    for (const char* box : {"Text9", "Text10", "Text11"}) out.boxes[box] = numberToText(cellNumber(out.boxes[box]));

    // Weighing points and fluids from their elements.
    for (int i = 0; i < 5; ++i) {
        const char* jackDefault = searchMode ? "" : std::array{"Right Main", "Left Main", "Nose", "", ""}[i];
        const char* fluidDefault = searchMode ? "" : std::array{"Forward Tanks", "Aft Tanks", "", "", ""}[i];
        auto desc = [](const Value& v, const char* whenNull) {
            return v.isNull() || v.isEmpty() ? std::string(whenNull) : v.toText();
        };
        out.grids["Grid2"][i] = {desc(ws.JackDesc[i], jackDefault), storedNumber(ws.JackTare[i], searchMode),
                                 storedNumber(ws.JackWeight[i], searchMode), storedNumber(ws.JackArm[i], searchMode), ""};
        out.grids["Grid4"][i] = {desc(ws.FluidDesc[i], fluidDefault), storedNumber(ws.FluidWeight[i], searchMode),
                                 storedNumber(ws.FluidArm[i], searchMode), ""};
    }

    // The equipment rows in the order the save adds them.
    // Change rows are numbered within the list they read back in: items from 1
    // when no previous-empty row leads, unmarked rows after the list's rows.
    std::vector<EquipmentRow> stored;
    int items = 0;
    auto described = [](const Value& v) { return !(v.isNull() || v.isEmpty() || (v.isText() && v.toText().empty())); };
    int readAsItems = 0;
    for (int i = 0; i < WorksheetState::kListBound; ++i) readAsItems += described(ws.ListDesc[i]);
    int changes = 0;
    for (int i = 0; i < WorksheetState::kChangeBound; ++i) {
        if (!described(ws.ChangeDesc[i])) continue;
        EquipmentRow row{0, utf8::left(ws.ChangeDesc[i].toText(), 25), elementText(ws.ChangeSerial[i]),
                         numberToText(cellNumber(elementText(ws.ChangeWeight[i]))),
                         numberToText(cellNumber(elementText(ws.ChangeArm[i]))),
                         elementText(ws.ChangeInstalled[i]) == "X", elementText(ws.ChangeRemoved[i]) == "X"};
        if (!row.changeRow()) {
            row.rowNum = readAsItems++;
        } else {
            if (changes == 0 && row.desc != kPreviousEmpty) changes = 1;
            row.rowNum = changes++;
        }
        stored.push_back(row);
    }
    for (int i = 0; i < WorksheetState::kListBound; ++i) {
        if (!described(ws.ListDesc[i])) continue;
        auto listNumber = [](const Value& v) { return isNumericValue(v) ? numberToText(leadingNumberOf(v)) : ""; };
        stored.push_back({items++, utf8::left(ws.ListDesc[i].toText(), 25), elementText(ws.ListSerial[i]),
                          listNumber(ws.ListWeight[i]), listNumber(ws.ListArm[i])});
    }
    auto first = [&](int rowNum, bool changeRow) -> const EquipmentRow* {
        for (const EquipmentRow& r : stored)
            if (r.rowNum == rowNum && r.changeRow() == changeRow) return &r;
        return nullptr;
    };
    const Row blank1(7), blank3(5);
    for (int i = 0; i < 30; ++i) {
        const EquipmentRow* r = first(i, true);
        Row row = blank1;
        if (i == 0 && r && r->desc != kPreviousEmpty)
            row = {kPreviousEmpty, out.boxes["Text2"], out.boxes["Text9"], out.boxes["Text10"], "", "//////", "//////"};
        else if (i == 0 && r)
            row = {r->desc, r->serial, r->weight, r->arm, "", "//////", "//////"};
        else if (r)
            row = {r->desc, r->serial, r->weight, r->arm, "", r->install ? "X" : "", r->remove ? "X" : ""};
        out.grids["Grid1"][i] = row;
    }
    for (int i = 0; i < 100; ++i) {
        const EquipmentRow* r = first(i, false);
        out.grids["Grid3"][i] = r ? Row{r->desc, r->serial, r->weight, r->arm, ""} : blank3;
    }
    if (stored.empty() && equipmentTableEmpty) {  // nothing to show: the display ends there
        out.results = false;
        for (int i = 0; i < 30; ++i) out.grids["Grid1"][i] = blank1;
        return out;
    }

    // The recalculation that ends the display, on the worksheet as shown.
    std::vector<Value> jackTare, jackWeight, jackArm, fluidWeight, fluidArm;
    for (const Row& row : out.grids["Grid2"]) {
        jackTare.push_back(row[1]);
        jackWeight.push_back(row[2]);
        jackArm.push_back(row[3]);
    }
    for (const Row& row : out.grids["Grid4"]) {
        fluidWeight.push_back(row[1]);
        fluidArm.push_back(row[2]);
    }
    std::vector<Value> desc, weight, arm, installed, removed;
    for (const Row& row : out.grids["Grid1"]) {
        desc.push_back(row[0]);
        weight.push_back(row[2]);
        arm.push_back(row[3]);
        installed.push_back(row[5]);
        removed.push_back(row[6]);
    }
    RecalcInput in;
    in.Text2 = out.boxes["Text2"];
    in.Text9 = out.boxes["Text9"];
    in.Text10 = out.boxes["Text10"];
    in.JackTare = jackTare;
    in.JackWeight = jackWeight;
    in.JackArm = jackArm;
    in.FluidWeight = fluidWeight;
    in.FluidArm = fluidArm;
    in.ChangeDesc = desc;
    in.ChangeWeight = weight;
    in.ChangeArm = arm;
    in.ChangeInstalled = installed;
    in.ChangeRemoved = removed;
    try {
        const RecalcResult r = ComputeWeightAndBalance(in);
        auto cut = [](const std::string& text, const TextBox& box) {
            return box.maxLength() > 0 ? text.substr(0, static_cast<size_t>(box.maxLength())) : text;
        };
        if (r.weighed) {
            out.boxes["Text9"] = cut(r.weighed->Text9, f.Text9);
            out.boxes["Text10"] = cut(r.weighed->Text10, f.Text10);
            out.grids["Grid1"][0] = cellsOf(r.weighed->row0.rowText);
        }
        out.boxes["Text23"] = cut(r.Text23, f.Text23);
        out.boxes["Text24"] = cut(r.Text24, f.Text24);
        out.boxes["Text27"] = cut(r.Text27, f.Text27);
    } catch (const RuntimeError&) {
        out.results = false;  // an overflow writes no result
    }
    return out;
}

// The totals of the worksheet as it stood when saved (its own arrays).
std::string savedTotals(const Form1& f) {
    const RecalcInput in = recalcInputOf(f);
    try {
        const RecalcResult r = ComputeWeightAndBalance(in);
        return r.Text23 + " " + r.Text24 + " " + r.Text27;
    } catch (const RuntimeError&) {
        return "overflow";
    }
}

std::string dump(const Form1& f) {
    std::string out;
    const Shown s = shownOn(f);
    for (const auto& [name, text] : s.boxes) out += name + "=" + text + " ";
    out += "\n";
    for (const auto& [name, rows] : s.grids)
        for (size_t r = 0; r < rows.size(); ++r) {
            std::string t;
            for (const std::string& c : rows[r]) t += c + "|";
            if (t.find_first_not_of('|') != std::string::npos) out += "  " + name + "[" + std::to_string(r) + "] " + t + "\n";
        }
    return out;
}

// The differences between the saved worksheet and its showing, one a line.
std::string differences(const Shown& saved, const Shown& shown) {
    std::string out;
    for (const auto& [name, text] : saved.boxes) {
        const std::string& again = shown.boxes.at(name);
        if ((name == "Text23" || name == "Text24" || name == "Text27") && !saved.results) continue;
        bool same = text == again;
        if (!same && (name == "Text9" || name == "Text10" || name == "Text11")) same = sameShownNumber(cellNumber(text), cellNumber(again));
        if (!same && name == "Text7") {
            const auto a = parseDate(text), b = parseDate(again);
            same = a && b && *a == *b;
        }
        if (!same) out += "  " + name + ": saved \"" + text + "\", shown \"" + again + "\"\n";
    }
    auto join = [](const Row& row) {
        std::string t;
        for (const std::string& c : row) t += (t.empty() ? "" : "|") + c;
        return t;
    };
    for (const auto& [name, rows] : saved.grids) {
        const std::string& kinds = kColumns.at(name);
        for (size_t r = 0; r < rows.size(); ++r) {
            const Row& a = rows[r];
            const Row& b = shown.grids.at(name)[r];
            bool same = a.size() == kinds.size() && b.size() == kinds.size();
            for (size_t c = 0; same && c < kinds.size(); ++c) {
                if (kinds[c] == 'T') same = a[c] == b[c];
                if (kinds[c] == 'N') same = sameShownNumber(cellNumber(a[c]), cellNumber(b[c]));
            }
            if (!same) out += "  " + name + " row " + std::to_string(r) + ": saved \"" + join(a) + "\", shown \"" + join(b) + "\"\n";
        }
    }
    return out;
}

// What a Save would store of the worksheet, as one text: the boxes, the
// weighing points and fluids, the change list and the equipment list, numbers
// by their leading number and marks as "X" or not. Two worksheets that give
// the same text store the same weighing.
std::string contentOf(const Form1& f) {
    std::string out;
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9",
                             "Text10", "Text11", "Text12", "Text13", "Text14", "Text15", "Text16", "Text22"})
        out += dynamic_cast<const TextBox&>(*f.find(name)).text() + "|";
    const WorksheetState& ws = f.ws;
    const auto number = [](const Value& v) { return numberIn(elementText(v)).value_or(-1); };
    const auto mark = [](const Value& v) { return elementText(v) == "X" ? "X" : "-"; };
    for (int i = 0; i < 5; ++i)
        out += elementText(ws.JackDesc[i]) + std::to_string(number(ws.JackTare[i])) + std::to_string(number(ws.JackWeight[i])) +
               std::to_string(number(ws.JackArm[i])) + elementText(ws.FluidDesc[i]) + std::to_string(number(ws.FluidWeight[i])) +
               std::to_string(number(ws.FluidArm[i])) + "|";
    for (int i = 0; i < WorksheetState::kChangeBound; ++i)
        out += elementText(ws.ChangeDesc[i]) + elementText(ws.ChangeSerial[i]) + std::to_string(number(ws.ChangeWeight[i])) +
               std::to_string(number(ws.ChangeArm[i])) + mark(ws.ChangeInstalled[i]) + mark(ws.ChangeRemoved[i]) + "|";
    for (int i = 0; i < WorksheetState::kListBound; ++i)
        out += elementText(ws.ListDesc[i]) + elementText(ws.ListSerial[i]) + std::to_string(number(ws.ListWeight[i])) +
               std::to_string(number(ws.ListArm[i])) + "|";
    return out;
}

// The figures a fresh recalculation of the worksheet gives, as its boxes
// would show them; nothing when it overflows.
struct FreshFigures {
    std::string Text9, Text10, Text23, Text24, Text27;
    bool weighed = false;
};
std::optional<FreshFigures> freshFigures(const Form1& f) {
    try {
        const RecalcResult r = ComputeWeightAndBalance(recalcInputOf(f));
        const auto cut = [](const std::string& text, const TextBox& box) { return utf8::left(text, box.maxLength()); };
        FreshFigures out{"", "", cut(r.Text23, f.Text23), cut(r.Text24, f.Text24), cut(r.Text27, f.Text27), r.weighingInEffect()};
        if (r.weighed) {
            out.Text9 = cut(r.weighed->Text9, f.Text9);
            out.Text10 = cut(r.weighed->Text10, f.Text10);
        }
        return out;
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// Where the boxes show other figures than a fresh recalculation gives; empty
// when they agree.
std::string staleFigures(const Form1& f, const FreshFigures& fresh) {
    std::string out;
    const auto compare = [&](const TextBox& box, const std::string& want) {
        if (box.text() != want) out += " " + box.name() + " \"" + box.text() + "\" not \"" + want + "\"";
    };
    compare(f.Text23, fresh.Text23);
    compare(f.Text24, fresh.Text24);
    compare(f.Text27, fresh.Text27);
    if (fresh.weighed) {
        compare(f.Text9, fresh.Text9);
        compare(f.Text10, fresh.Text10);
    }
    return out;
}

// Whether a printer log holds a text line that prints exactly `figure`.
bool printedFigure(const std::vector<std::string>& log, const std::string& figure) {
    const std::string end = " \"" + figure + "\"";
    for (const std::string& line : log)
        if (line.rfind("text ", 0) == 0 && line.size() >= end.size() &&
            line.compare(line.size() - end.size(), end.size(), end) == 0)
            return true;
    return false;
}

class RandomEvents {
public:
    explicit RandomEvents(unsigned long seed) : random_(seed), dialogs_(random_) {
        services_.dialogs = &dialogs_;
        services_.clock = &clock_;
        services_.databases = engine_.get();
        services_.printer = &printer_;
        dataFolder_ = folder_.path() + "/data";
        fs::create_directories(dataFolder_);
        prepareFiles();
        startProgram();
    }

    void run(unsigned long events) {
        for (unsigned long n = 1; n <= events; ++n) {
            if (!program_->mainWindow() || program_->ended()) startProgram();
            if (::testing::Test::HasFatalFailure()) return;
            event_ = n;
            oneEvent();
            checkAfterEvent();
            if (::testing::Test::HasFatalFailure()) return;
            if (n % 500 == 0) checkFiles();
        }
        checkFiles();
    }

    void report(std::ostream& out) const {
        const std::string records = dataFolder_ + "/" + kRecordDatabaseName;
        out << "starts " << starts_ << ", printed lines " << printerLines_ << ", stored weighings "
            << rowsOf(records, "Aircraft") << ", equipment rows " << rowsOf(records, "Equipment") << ", events on a found record " << searchShown_
            << ", on a stored record " << storedShown_ << ", saves shown again " << roundTrips_
            << "\n";
        // The save stores only described rows, and showing reserves change row 0
        // for the previous-empty row: the totals of a shown weighing can differ
        // from those of the worksheet saved.
        out << "  shown totals other than the saved worksheet's: " << totalsChanged_.size() << "\n";
        for (const std::string& example : totalsChanged_) out << "    " << example << "\n";
        out << "  printouts checked against fresh totals " << printoutsChecked_ << ", refused for overflowing totals "
            << printoutsRefused_ << "; saves refused for them " << savesRefused_ << "\n";
        out << "  discards of an unsaved edit (New, Exit, close button) " << discardsAsked_
            << ", each asked first; sessions ended without a question " << sessionEnds_ << "\n";
        for (const auto& [text, count] : failures_) out << "  contained " << count << "x: " << text << "\n";
        for (const auto& [text, count] : dialogs_.shown) out << "  message " << count << "x: " << text << "\n";
    }

private:
    void prepareFiles() {
        auto settings = createSettingsDatabase(*engine_, SettingsStore::kFileName);
        auto row = settings->CreateDynaset("Company");
        row->Edit();
        row->setField("DataPath", Value(dataFolder_));
        row->Update();
        settings->Close();
        auto db = createRecordDatabase(*engine_, dataFolder_ + "/" + kRecordDatabaseName);
        auto shop = db->CreateDynaset("CompanyInfo");
        shop->Edit();
        for (const auto& [name, value] : OpeningFixture::fullShop()) shop->setField(name, value);
        shop->Update();
        db->Close();
    }

    void startProgram() {
        if (program_) collectFailures();
        viewer_.reset();
        program_.reset();
        program_ = std::make_unique<Program>(services_);
        program_->start();
        Form2* splash = program_->splash();
        ASSERT_NE(splash, nullptr);
        splash->dispatch([splash] { splash->Timer1.fire(); });
        // The unloaded splash lives on with the program.
        EXPECT_EQ(splash->containedFailures(), 0) << splash->lastFailure();
        ASSERT_NE(program_->mainWindow(), nullptr);
        ++starts_;
        form_ = program_->mainWindow();
        Form1& f = *form_;
        seenFailures_ = 0;  // the load and first activation are checked too
        texts_.clear();
        grids_.clear();
        buttons_.clear();
        for (Control* c : f.controls()) {
            if (auto* t = dynamic_cast<TextBox*>(c)) texts_.push_back(t);
            if (auto* g = dynamic_cast<Grid*>(c)) grids_.push_back(g);
            if (dynamic_cast<CommandButton*>(c) || dynamic_cast<CheckBox*>(c)) buttons_.push_back(c);
        }
        const std::function<void()> save = f.Command3D13.Click;
        f.Command3D13.Click = [this, save] {
            Form1& main = *form_;
            const bool deleting = main.Text1.text() == "0";
            dialogs_.answers.clear();
            save();
            if (deleting) {
                if (main.ws.NewRecordMode == 1) clean_ = contentOf(main);  // deleted as asked
                return;
            }
            checkStoredFigures(main);
            if (main.ws.SavedState == 1 && stored()) {
                clean_ = contentOf(main);
                checkRoundTrip(main);
            }
        };
        for (CommandButton* print : {&f.Command3D27, &f.Command3D14, &f.Command3D32}) {
            const std::function<void()> click = print->Click;
            print->Click = [this, click] {
                const size_t before = printer_.log().size();
                dialogs_.answers.clear();
                click();
                const std::vector<std::string>& log = printer_.log();
                checkPrintedFigures(*form_, std::vector<std::string>(log.begin() + before, log.end()));
            };
        }
        // New and Exit: an unsaved edit goes only after the question.
        for (CommandButton* discards : {&f.Command3D19, &f.Command3D12}) {
            const std::function<void()> click = discards->Click;
            discards->Click = [this, click] {
                const bool edited = contentOf(*form_) != clean_;
                dialogs_.answers.clear();
                click();
                if (edited) expectAsked("New or Exit");
                if (form_->ws.NewRecordMode == 1 && !answered(msgbox::kNo)) clean_ = contentOf(*form_);
            };
        }
        // Next and Previous browse away from the worksheet by design.
        for (CommandButton* move : {&f.Command3D16, &f.Command3D17}) {
            const std::function<void()> click = move->Click;
            move->Click = [this, click] {
                click();
                clean_ = contentOf(*form_);
            };
        }
        clean_ = contentOf(f);
    }

    // The question of an unsaved worksheet was asked in this event.
    bool asked() const {
        for (const auto& [title, answer] : dialogs_.answers)
            if (title == "Weight & Balance on screen not saved") return true;
        return false;
    }
    bool answered(int button) const {
        for (const auto& [title, answer] : dialogs_.answers)
            if (title == "Weight & Balance on screen not saved" && answer == button) return true;
        return false;
    }
    void expectAsked(const char* what) {
        ++discardsAsked_;
        EXPECT_TRUE(asked()) << "event " << event_ << ": " << what << " went on without asking about an unsaved edit";
    }

    // After a Save: the boxes hold the figures a fresh recalculation gives
    // (the round trip then shows that they are the stored ones); a worksheet
    // whose totals fail was not stored.
    void checkStoredFigures(const Form1& main) {
        const std::optional<FreshFigures> fresh = freshFigures(main);
        if (!fresh) {
            ++savesRefused_;
            EXPECT_FALSE(stored() && main.ws.SavedState == 1)
                << "event " << event_ << ": a worksheet whose totals fail was stored";
            return;
        }
        const std::string stale = staleFigures(main, *fresh);
        EXPECT_TRUE(stale.empty()) << "event " << event_ << ": saved with figures other than a fresh recalculation's:" << stale;
    }

    // After a printout: nothing printed when the totals fail; else the boxes
    // hold a fresh recalculation's figures, and the new empty weight, C.G. and
    // useful load printed are those.
    void checkPrintedFigures(const Form1& main, const std::vector<std::string>& log) {
        const std::optional<FreshFigures> fresh = freshFigures(main);
        if (!fresh) {
            ++printoutsRefused_;
            EXPECT_TRUE(log.empty()) << "event " << event_ << ": printed although the totals fail";
            return;
        }
        if (log.empty()) return;  // nothing printed (no shop row, ...)
        ++printoutsChecked_;
        const std::string stale = staleFigures(main, *fresh);
        EXPECT_TRUE(stale.empty()) << "event " << event_ << ": printed with figures other than a fresh recalculation's:" << stale;
        const double weight = cellNumber(fresh->Text23);
        std::vector<std::string> figures = {formatMask(weight, "######.00"),
                                            formatMask(cellNumber(fresh->Text24), "######.00")};
        if (const auto maxWeight = numberIn(main.Text11.text())) figures.push_back(formatMask(*maxWeight - weight, "######.00"));
        for (const std::string& figure : figures)
            EXPECT_TRUE(printedFigure(log, figure)) << "event " << event_ << ": the printout lacks the fresh figure " << figure;
    }

    // Whether the save just made stored the worksheet: no check refused it,
    // no failure undid it, and the user did not decline to replace a weighing.
    bool stored() const {
        for (const auto& [title, answer] : dialogs_.answers) {
            if (title == "No date entered" || title == "No tail number entered") return false;
            if (title.rfind("Not saved", 0) == 0) return false;
            if (title == "Weighing already stored" && answer != msgbox::kYes) return false;
        }
        return true;
    }

    // Shows the weighing just stored on a second main window, as a move to it
    // shows it: its own set of weighings on the stored row, this window's
    // equipment set.
    void checkRoundTrip(Form1& main) {
        ++roundTrips_;
        const bool found = main.ws.SearchActive == 1;
        long equipmentRows = -1;
        try {
            equipmentRows = main.dbRecords->CreateDynaset("Equipment")->RecordCount();
        } catch (const RuntimeError&) {
        }
        const Shown saved = expectedAfterSave(main, found, equipmentRows == 0);
        if (!viewer_) {
            viewerServices_.dialogs = &viewerDialogs_;
            viewerServices_.clock = &clock_;
            viewerServices_.printer = &printer_;
            viewerServices_.endProgram = [] {};
            viewer_ = std::make_unique<Form1>(viewerServices_, main.Data1);
            viewer_->dispatch([&] { viewer_->Load(); });
        }
        Form1& v = *viewer_;
        v.dbRecords = main.dbRecords;
        v.rsEquipment = main.rsEquipment;
        std::shared_ptr<Recordset> weighings;
        try {
            weighings = main.dbRecords->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
            weighings->FindFirst(Criteria("Tail", Compare::Equal, main.Text1.text())
                                     .And("Date", Compare::Equal, main.Text7.text()));
        } catch (const RuntimeError& e) {
            ADD_FAILURE() << "event " << event_ << ": the saved weighing cannot be read: " << e.what();
            return;
        }
        if (weighings->NoMatch()) {
            ADD_FAILURE() << "event " << event_ << ": the saved weighing " << main.Text1.text() << " "
                          << main.Text7.text() << " is not stored";
            return;
        }
        (found ? v.rsFound : v.rsAircraft) = weighings;
        v.Text25.setText(main.Text25.text());
        v.Text26.setText(main.Text26.text());
        const int failuresBefore = v.containedFailures(), messagesBefore = viewerDialogs_.shown;
        v.dispatch([&] {
            v.ws.SearchActive = found ? 1 : 0;
            v.ws.NewRecordMode = 0;
            v.ClearWorksheet();
            v.ws.SavedState = 1;
            if (found)
                v.ShowFoundRecord();
            else
                v.ShowRecord();
        });
        EXPECT_EQ(v.containedFailures(), failuresBefore) << "event " << event_ << ": " << v.lastFailure();
        EXPECT_EQ(viewerDialogs_.shown, messagesBefore) << "event " << event_ << ": a message while showing";
        const std::string before = savedTotals(main);
        const std::string after = v.Text23.text() + " " + v.Text24.text() + " " + v.Text27.text();
        if (saved.results && before != after)
            totalsChanged_.push_back("event " + std::to_string(event_) + ": " + before + " -> " + after);
        const std::string diff = differences(saved, shownOn(v));
        if (!diff.empty()) {
            std::string sets = " Equipment rows " + std::to_string(equipmentRows);
            try {
                Recordset& eq = Form1::need(main.rsEquipment);
                sets += ", equipment set BOF " + std::to_string(eq.IsBOF()) + " EOF " + std::to_string(eq.IsEOF()) +
                        " rows " + std::to_string(eq.RecordCount());
            } catch (const RuntimeError& e) {
                sets += std::string(", equipment set: ") + e.what();
            }
            ADD_FAILURE() << "event " << event_ << ": the saved weighing shown again differs (" << (found ? "found" : "browse")
                          << " record):" << sets << "\n" << diff << "saved:\n" << dump(main) << "shown:\n" << dump(v);
        }
    }

    // A control taken at random among those that take input now, else any.
    template <class T>
    T* usableOne(const std::vector<T*>& all) {
        std::vector<T*> usable;
        for (T* c : all)
            if (c->usable() && c->shownOnScreen()) usable.push_back(c);
        const auto& from = usable.empty() || random_() % 10 == 0 ? all : usable;
        return from[random_() % from.size()];
    }

    int typedKey() {
        static const std::string keys = "ABCXYZabcxyz0123456789012345678901234.-  .-";
        const unsigned r = random_() % 100;
        if (r < 8) return keys::kReturn;
        if (r < 14) return keys::kBack;
        if (r < 17) {  // characters that criteria, patterns, case folding and lengths treat specially
            // and control characters, TAB among them, which type nothing.
            static const int odd[] = {'\'', '"', '*', '?', '#', '[', ']', '!', 0xE9, 0xC9, 0x142, 0x141, 0x20AC, 0x1F6E9,
                                      9, 27, 127, 0};
            return odd[random_() % std::size(odd)];
        }
        return static_cast<unsigned char>(keys[random_() % keys.size()]);
    }

    void oneEvent() {
        Form1& f = *program_->mainWindow();
        const unsigned r = random_() % 100;
        Control* focused = f.focused();
        if (r < 35) {  // typing into the focused control
            Control& c = focused ? *focused : static_cast<Control&>(*usableOne(texts_));
            f.userKeyPress(c, typedKey());
        } else if (r < 45) {  // to a text box or grid first, then typing
            Control& c = random_() % 3 ? static_cast<Control&>(*usableOne(texts_))
                                       : static_cast<Control&>(*usableOne(grids_));
            f.userFocus(c);
            const int n = random_() % 8 ? 1 + random_() % 6 : 1 + random_() % 60;
            // Now and then a number too large for any total.
            const bool huge = random_() % 15 == 0;
            for (int i = 0; i < n && program_->mainWindow() == &f; ++i)
                f.userKeyPress(f.focused() ? *f.focused() : c, huge && i < 40 ? '1' + random_() % 9 : typedKey());
        } else if (r < 60) {  // a key-down on the focused control
            // With Ctrl or Shift, Insert, Delete and C, X, V copy, cut and paste
            // (in a grid, Delete with any modifier deletes the row).
            static const int codes[] = {keys::kDelete, keys::kLeft, keys::kRight, keys::kUp,
                                        keys::kDown,   keys::kHome, keys::kEnd,   keys::kPageUp,
                                        keys::kPageDown, keys::kTab, keys::kTab, keys::kReturn,
                                        keys::kInsert, 'C', 'X', 'V'};
            const int code = codes[random_() % std::size(codes)];
            const int shift = random_() % 4 == 0 ? static_cast<int>(random_() % 8) : 0;
            Control& c = focused ? *focused : static_cast<Control&>(*usableOne(texts_));
            f.userKeyDown(c, code, shift);
        } else if (r < 82) {  // a button or check box
            f.userClick(*usableOne(buttons_));
        } else if (r < 95) {  // a cell of a grid
            Grid& g = *usableOne(grids_);
            f.userCellClick(g, static_cast<int>(random_() % g.rows()), static_cast<int>(random_() % g.cols()));
        } else if (r < 99) {  // the focus somewhere by mouse
            Control* all[] = {usableOne(texts_), usableOne(grids_), usableOne(buttons_)};
            f.userFocus(*all[random_() % 3]);
        } else {  // the window's close button, the session's end, or activation
            const unsigned which = random_() % 40;
            if (which < 2) {
                const bool edited = contentOf(f) != clean_;
                dialogs_.answers.clear();
                program_->closeMainWindowByUser();
                if (edited) expectAsked("the close button");
            } else if (which == 2) {
                ++sessionEnds_;
                program_->closeMainWindow();
            } else {
                program_->activateMainWindow();
            }
        }
    }

    void collectFailures() {
        // The main window outlives its unloading: it stays with the program.
        Form1* f = form_;
        if (!f || f->containedFailures() == seenFailures_) return;
        // Only the last failure's text is kept: several in one event count as that one.
        const int added = f->containedFailures() - seenFailures_;
        seenFailures_ = f->containedFailures();
        const std::string& text = f->lastFailure();
        failures_[text] += added;
        // Every failing step the program expects is skipped inside its handler
        // (the focus step of a new record at load, the save steps); a failure
        // that reaches the form would have ended the old program.
        ADD_FAILURE() << "event " << event_ << ": contained failure " << text << " (" << added << "x)";
    }

    void checkAfterEvent() {
        collectFailures();
        Form1* f = program_->mainWindow();
        if (f) {
            static const std::map<std::string, int> rows = {
                {"Grid1", 30}, {"Grid2", 5}, {"Grid4", 5}, {"Grid3", 100}};
            for (const auto& [name, count] : rows) {
                const auto* g = dynamic_cast<const Grid*>(f->find(name));
                ASSERT_NE(g, nullptr);
                ASSERT_EQ(g->rows(), count) << name << " after event " << event_;
            }
            if (f->ws.SearchActive == 1) ++searchShown_;
            if (f->ws.NewRecordMode == 0) ++storedShown_;
            // Save and showing a record set the hourglass only while they run.
            EXPECT_EQ(f->mousePointer(), pointer::kDefault) << "after event " << event_;
        }
        printerLines_ += printer_.log().size();
        printer_.takeLog();
    }

    void checkFiles() {
        EXPECT_EQ(integrityOf(dataFolder_ + "/" + kRecordDatabaseName), "ok") << "event " << event_;
        EXPECT_EQ(integrityOf(folder_.file(SettingsStore::kFileName)), "ok") << "event " << event_;
    }

    WorkingFolder folder_;
    std::string dataFolder_;
    std::mt19937 random_;
    RandomDialogs dialogs_;
    FixedClock clock_{Date{2004, 3, 9}};
    std::unique_ptr<DatabaseEngine> engine_ = makeSqliteEngine();
    RecordingPrinter printer_;
    Services services_;
    std::unique_ptr<Program> program_;
    Form1* form_ = nullptr;
    std::vector<TextBox*> texts_;
    std::vector<Grid*> grids_;
    std::vector<Control*> buttons_;
    int seenFailures_ = 0;
    unsigned long event_ = 0;
    int starts_ = 0;
    size_t printerLines_ = 0;
    long searchShown_ = 0, storedShown_ = 0;  // events after which a found / stored record stood
    std::map<std::string, int> failures_;
    QuietDialogs viewerDialogs_;
    Services viewerServices_;
    std::unique_ptr<Form1> viewer_;  // shows each stored weighing again
    long roundTrips_ = 0;
    std::vector<std::string> totalsChanged_;  // event: saved totals -> shown totals
    std::string clean_;  // the worksheet as last saved, started or shown (contentOf)
    long printoutsChecked_ = 0, printoutsRefused_ = 0, savesRefused_ = 0, discardsAsked_ = 0, sessionEnds_ = 0;
};

TEST(RandomEvents, TheProgramHoldsUnderRandomInput) {
    const unsigned long seed = envNumber("WB_RANDOM_SEED", 20040309);
    const unsigned long events = envNumber("WB_RANDOM_EVENTS", 5000);
    std::cout << "WB_RANDOM_SEED=" << seed << " WB_RANDOM_EVENTS=" << events << std::endl;
    const auto started = std::chrono::steady_clock::now();
    RandomEvents run(seed);
    run.run(events);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << events << " events in " << seconds << " s; ";
    run.report(std::cout);
}

}  // namespace
}  // namespace wb::testing
