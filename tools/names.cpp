#include "names.h"

#include <functional>
#include <optional>
#include <span>
#include <variant>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "platform/controls/timer.h"
#include "platform/numbers.h"
#include "scripted_dialogs.h"

namespace wb::scenario {

namespace {

std::string boolText(bool b) { return b ? "True" : "False"; }
std::string intText(long n) { return std::to_string(n); }

// ---- Module variables of the main window -------------------------------------

using ScalarField = std::variant<int16_t WorksheetState::*, float WorksheetState::*,
                                 std::string WorksheetState::*>;

const std::vector<std::pair<std::string, ScalarField>>& scalarFields() {
    using W = WorksheetState;
    static const std::vector<std::pair<std::string, ScalarField>> table = {
        {"SavedState", &W::SavedState},
        {"SearchActive", &W::SearchActive},
        {"NewRecordMode", &W::NewRecordMode},
        {"PreviousListPending", &W::PreviousListPending},
        {"BrowseStarted", &W::BrowseStarted},
        {"MoveDirection", &W::MoveDirection},
        {"CellEditing", &W::CellEditing},
        {"Grid1EditCol", &W::Grid1EditCol},
        {"Grid2EditCol", &W::Grid2EditCol},
        {"Grid3EditCol", &W::Grid3EditCol},
        {"Grid4EditCol", &W::Grid4EditCol},
        {"Grid1EditRow", &W::Grid1EditRow},
        {"Grid2EditRow", &W::Grid2EditRow},
        {"Grid3EditRow", &W::Grid3EditRow},
        {"Grid4EditRow", &W::Grid4EditRow},
        {"NewEmptyWeight", &W::NewEmptyWeight},
        {"NewEmptyCG", &W::NewEmptyCG},
        {"NewEmptyMoment", &W::NewEmptyMoment},
        {"WeighedWeight", &W::WeighedWeight},
        {"WeighedCG", &W::WeighedCG},
        {"WeighedMoment", &W::WeighedMoment},
        {"SearchFilter", &W::SearchFilter},
        {"LineBuffer", &W::LineBuffer},
        {"LineBufferLen", &W::LineBufferLen},
    };
    return table;
}

std::string scalarText(const WorksheetState& ws, const ScalarField& field) {
    struct Visit {
        const WorksheetState& ws;
        std::string operator()(int16_t WorksheetState::*m) const { return intText(ws.*m); }
        std::string operator()(float WorksheetState::*m) const { return singleToText(ws.*m); }
        std::string operator()(std::string WorksheetState::*m) const { return ws.*m; }
    };
    return std::visit(Visit{ws}, field);
}

using ArrayField = std::function<std::span<const Value>(const WorksheetState&)>;

template <auto Member>
std::span<const Value> elements(const WorksheetState& ws) {
    return std::span<const Value>((ws.*Member).data(), (ws.*Member).size());
}

const std::vector<std::pair<std::string, ArrayField>>& arrayFields() {
    using W = WorksheetState;
    static const std::vector<std::pair<std::string, ArrayField>> table = {
        {"ChangeDesc", elements<&W::ChangeDesc>},
        {"ChangeSerial", elements<&W::ChangeSerial>},
        {"ChangeWeight", elements<&W::ChangeWeight>},
        {"ChangeArm", elements<&W::ChangeArm>},
        {"ChangeMoment", elements<&W::ChangeMoment>},
        {"ChangeInstalled", elements<&W::ChangeInstalled>},
        {"ChangeRemoved", elements<&W::ChangeRemoved>},
        {"JackDesc", elements<&W::JackDesc>},
        {"JackTare", elements<&W::JackTare>},
        {"JackWeight", elements<&W::JackWeight>},
        {"JackArm", elements<&W::JackArm>},
        {"JackMoment", elements<&W::JackMoment>},
        {"FluidDesc", elements<&W::FluidDesc>},
        {"FluidWeight", elements<&W::FluidWeight>},
        {"FluidArm", elements<&W::FluidArm>},
        {"FluidMoment", elements<&W::FluidMoment>},
        {"ListDesc", elements<&W::ListDesc>},
        {"ListSerial", elements<&W::ListSerial>},
        {"ListWeight", elements<&W::ListWeight>},
        {"ListArm", elements<&W::ListArm>},
        {"ListMoment", elements<&W::ListMoment>},
    };
    return table;
}

template <class Table>
const typename Table::value_type::second_type* lookup(const Table& table, const std::string& name) {
    for (const auto& [key, field] : table)
        if (key == name) return &field;
    return nullptr;
}

// ---- Controls -----------------------------------------------------------------

// The value a control reads as when named alone; nothing for one without a value.
std::optional<std::string> controlValue(const Control& c) {
    if (auto* t = dynamic_cast<const TextBox*>(&c)) return t->text();
    if (auto* k = dynamic_cast<const CheckBox*>(&c)) return intText(k->value());
    if (auto* b = dynamic_cast<const CommandButton*>(&c)) return b->caption();
    if (auto* l = dynamic_cast<const Label*>(&c)) return l->caption();
    if (auto* p = dynamic_cast<const Panel*>(&c)) return p->caption();
    if (auto* g = dynamic_cast<const Grid*>(&c)) return g->text();
    if (auto* d = dynamic_cast<const DriveList*>(&c)) return d->drive();
    if (auto* d = dynamic_cast<const DirList*>(&c)) return d->path();
    return std::nullopt;
}

std::optional<std::string> controlProperty(const Control& c, const std::string& p) {
    if (p == "Visible") return boolText(c.visible());
    if (p == "Enabled") return boolText(c.enabled());
    if (p == "Left") return intText(c.left());
    if (p == "Top") return intText(c.top());
    if (p == "Width") return intText(c.width());
    if (p == "Height") return intText(c.height());
    if (p == "TabIndex") return intText(c.tabIndex());
    if (p == "ForeColor") return intText(static_cast<long>(c.foreColor()));
    if (p == "FontName") return c.font().name;
    if (p == "FontSize") return numberToText(c.font().size);
    if (p == "FontBold") return boolText(c.font().bold);
    if (p == "FontItalic") return boolText(c.font().italic);
    if (auto* t = dynamic_cast<const TextBox*>(&c)) {
        if (p == "Text") return t->text();
        if (p == "SelStart") return intText(t->selStart());
        if (p == "SelLength") return intText(t->selLength());
        if (p == "SelText") return t->selText();
        if (p == "MaxLength") return intText(t->maxLength());
    }
    if (auto* g = dynamic_cast<const Grid*>(&c)) {
        if (p == "Text") return g->text();
        if (p == "Row") return intText(g->row());
        if (p == "Col") return intText(g->col());
        if (p == "Rows") return intText(g->rows());
        if (p == "Cols") return intText(g->cols());
        if (p == "TopRow") return intText(g->topRow());
        if (p == "SelStartRow") return intText(g->selStartRow());
        if (p == "SelEndRow") return intText(g->selEndRow());
        if (p == "SelStartCol") return intText(g->selStartCol());
        if (p == "SelEndCol") return intText(g->selEndCol());
        if (p == "FillStyle") return intText(g->fillStyle());
        if (p == "HighLight") return boolText(g->highLight());
    }
    if (auto* t = dynamic_cast<const Timer*>(&c)) {
        if (p == "Interval") return intText(t->interval());
    }
    if (p == "Caption") {
        if (auto* b = dynamic_cast<const CommandButton*>(&c)) return b->caption();
        if (auto* l = dynamic_cast<const Label*>(&c)) return l->caption();
        if (auto* k = dynamic_cast<const CheckBox*>(&c)) return k->caption();
        if (auto* n = dynamic_cast<const Panel*>(&c)) return n->caption();
    }
    if (auto* k = dynamic_cast<const CheckBox*>(&c); k && p == "Value") return intText(k->value());
    if (auto* d = dynamic_cast<const DriveList*>(&c); d && p == "Drive") return d->drive();
    if (auto* d = dynamic_cast<const DirList*>(&c); d && p == "Path") return d->path();
    return std::nullopt;
}

std::optional<std::string> formProperty(const Form& f, const std::string& p) {
    if (p == "Visible") return boolText(f.visible());
    if (p == "Enabled") return boolText(f.enabled());
    if (p == "MousePointer") return intText(f.mousePointer());
    if (p == "Caption") return f.caption();
    return std::nullopt;
}

const Form1* mainWindow(const NameContext& c) {
    return c.program ? c.program->mainWindow() : nullptr;
}
const Form2* splash(const NameContext& c) { return c.program ? c.program->splash() : nullptr; }

const Form1& needMainWindow(const NameContext& c, const std::string& name) {
    const Form1* f = mainWindow(c);
    if (!f) throw UnknownName(name + ": the main window is not loaded");
    return *f;
}

std::string focusName(const NameContext& c) {
    for (const Form* f : {static_cast<const Form*>(mainWindow(c)), static_cast<const Form*>(splash(c))})
        if (f && f->focused()) return f->focused()->name();
    return "";
}

// "Base(1,2).Prop" split into its parts; nothing when NAME has no index.
struct Indexed {
    std::string base;
    std::vector<int> indices;
    std::string property;
};

std::optional<Indexed> splitIndexed(const std::string& name) {
    size_t open = name.find('(');
    size_t close = name.find(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
    Indexed out{name.substr(0, open), {}, ""};
    std::string inside = name.substr(open + 1, close - open - 1);
    size_t start = 0;
    while (true) {
        size_t comma = inside.find(',', start);
        std::string part = inside.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
        out.indices.push_back(std::stoi(part));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::string rest = name.substr(close + 1);
    if (!rest.empty()) {
        if (rest[0] != '.' || rest.size() < 2) return std::nullopt;
        out.property = rest.substr(1);
    }
    return out;
}

std::string readIndexed(const NameContext& c, const std::string& name, const Indexed& ix) {
    if (const ArrayField* field = lookup(arrayFields(), ix.base)) {
        std::span<const Value> values = (*field)(needMainWindow(c, name).ws);
        if (ix.indices.size() != 1) throw UnknownName(name + ": one index expected");
        size_t i = static_cast<size_t>(ix.indices[0]);
        if (i >= values.size()) throw UnknownName(name + ": index beyond the array");
        if (ix.property.empty()) return values[i].displayText();
        if (ix.property == "Kind") return Value::kindName(values[i].kind());
        throw UnknownName(name + ": an element has only .Kind");
    }
    if (auto* g = dynamic_cast<const Grid*>(findControl(c.program, ix.base))) {
        if (!ix.property.empty()) throw UnknownName(name + ": a grid row or cell has no properties");
        if (ix.indices[0] >= g->rows()) throw UnknownName(name + ": row beyond the grid");
        if (ix.indices.size() == 1) return g->rowText(ix.indices[0]);
        if (ix.indices.size() == 2 && ix.indices[1] < g->cols())
            return g->cell(ix.indices[0], ix.indices[1]);
        throw UnknownName(name + ": no such cell");
    }
    throw UnknownName(name);
}

std::string readControl(const Control& ctrl, const std::string& name, const std::string& property) {
    std::optional<std::string> v = property.empty() ? controlValue(ctrl) : controlProperty(ctrl, property);
    if (!v) throw UnknownName(name + ": not a readable property");
    return *v;
}

}  // namespace

Control* findControl(const Program* program, const std::string& name) {
    if (!program) return nullptr;
    if (Form1* f = program->mainWindow())
        if (Control* c = f->find(name)) return c;
    if (Form2* f = program->splash())
        if (Control* c = f->find(name)) return c;
    return nullptr;
}

std::string readName(const NameContext& c, const std::string& name) {
    if (name == "Focus") return focusName(c);
    if (name == "Ended") return boolText(c.ended);
    if (name == "MsgBox") return c.dialogs.lastMsgBox();
    if (name == "MsgBoxCount") return intText(c.dialogs.msgBoxCount());
    if (name == "Clipboard") return needMainWindow(c, name).clipboard().text();

    // Form1.Visible, Form2.Timer1.Enabled, ...
    for (const char* formName : {"Form1", "Form2"}) {
        std::string prefix = std::string(formName) + ".";
        if (name.rfind(prefix, 0) != 0) continue;
        std::string rest = name.substr(prefix.size());
        const Form* form = formName == std::string("Form1") ? static_cast<const Form*>(mainWindow(c))
                                                            : static_cast<const Form*>(splash(c));
        if (!form) {
            if (rest == "Visible") return "False";
            throw UnknownName(name + ": " + formName + " is not loaded");
        }
        if (auto v = formProperty(*form, rest)) return *v;
        size_t dot = rest.find('.');
        if (Control* ctrl = form->find(rest.substr(0, dot)))
            return readControl(*ctrl, name, dot == std::string::npos ? "" : rest.substr(dot + 1));
        throw UnknownName(name);
    }

    if (const ScalarField* field = lookup(scalarFields(), name))
        return scalarText(needMainWindow(c, name).ws, *field);

    // A control whose own name has an index, as Command3D6(3).
    size_t close = name.find(')');
    if (close != std::string::npos) {
        if (Control* ctrl = findControl(c.program, name.substr(0, close + 1))) {
            std::string rest = name.substr(close + 1);
            if (rest.empty()) return readControl(*ctrl, name, "");
            if (rest[0] == '.') return readControl(*ctrl, name, rest.substr(1));
        }
        if (auto ix = splitIndexed(name)) return readIndexed(c, name, *ix);
        throw UnknownName(name);
    }

    size_t dot = name.find('.');
    if (Control* ctrl = findControl(c.program, name.substr(0, dot)))
        return readControl(*ctrl, name, dot == std::string::npos ? "" : name.substr(dot + 1));
    throw UnknownName(name);
}

std::vector<std::pair<std::string, std::string>> readAll(const NameContext& c) {
    std::vector<std::pair<std::string, std::string>> out;
    auto add = [&](const std::string& name) { out.emplace_back(name, readName(c, name)); };
    for (const char* n : {"Ended", "Focus", "MsgBox", "MsgBoxCount", "Form1.Visible", "Form2.Visible"}) add(n);
    for (const Form* form : {static_cast<const Form*>(mainWindow(c)), static_cast<const Form*>(splash(c))}) {
        if (!form) continue;
        add(form->name() + ".MousePointer");
        for (const Control* ctrl : form->controls()) {
            std::string prefix = form == splash(c) ? form->name() + "." : "";
            std::string n = prefix + ctrl->name();
            if (controlValue(*ctrl)) add(n);
            add(n + ".Visible");
            add(n + ".Enabled");
            if (auto* g = dynamic_cast<const Grid*>(ctrl)) {
                for (const char* p : {".Row", ".Col", ".Rows", ".TopRow"}) add(n + p);
                for (int r = 0; r < g->rows(); ++r) add(n + "(" + intText(r) + ")");
            }
        }
    }
    if (const Form1* f = mainWindow(c)) {
        for (const auto& [name, field] : scalarFields()) add(name);
        for (const auto& [name, field] : arrayFields()) {
            size_t n = field(f->ws).size();
            for (size_t i = 0; i < n; ++i) add(name + "(" + intText(static_cast<long>(i)) + ")");
        }
    }
    return out;
}

}  // namespace wb::scenario
