#include "worksheet/recalculation_math.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

#include "platform/failure.h"
#include "platform/numbers.h"

namespace wb {

namespace {

constexpr int kWeighingPoints = 5;
constexpr int kLastChangeRow = 29;

const Value& at(std::span<const Value> array, int i) {
    static const Value empty;
    return i < static_cast<int>(array.size()) ? array[i] : empty;
}

double numberAt(std::span<const Value> array, int i) { return NumberOf(at(array, i)); }

bool isText(const Value& v, const char* text) { return v.isText() && v.toText() == text; }

bool isEmptyText(const Value& v) {
    return v.isEmpty() || v.isNull() || (v.isText() && v.toText().empty());
}

[[noreturn]] void overflow() { throw RuntimeError(kOverflow, "Overflow"); }

// A double result that must stay a finite number.
double checked(double d) {
    if (!std::isfinite(d)) overflow();
    return d;
}

// Stores a total in single precision.
float single(double d) {
    if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) overflow();
    return static_cast<float>(d);
}

// A number beyond a double's range reads as none.
std::optional<double> readable(const std::string& text) {
    try {
        return parseLeadingNumber(text);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

std::string joinRow(const std::string& serial, const std::string& weight,
                    const std::string& arm, const std::string& moment) {
    const std::string tab = "\t";
    return std::string(kPreviousEmpty) + tab + serial + tab + weight + tab + arm + tab +
           moment + tab + kPreviousEmptyMark + tab + kPreviousEmptyMark;
}

}  // namespace

double NumberOf(const Value& v) { return v.leadingNumber(); }

TotalsOverflow::TotalsOverflow(std::string where, RecalcResult shown)
    : RuntimeError(kOverflow, "Overflow: " + where), where_(std::move(where)), shown_(std::move(shown)) {}

namespace {

// The step being taken, named only when it fails: "weighed C.G.", "fluids, row 2".
struct Step {
    const char* what = "";
    int row = -1;  // from 0; none below 0
    std::string name() const { return row < 0 ? what : std::string(what) + ", row " + std::to_string(row + 1); }
};

Step rowOf(const char* list, int i) { return Step{list, i}; }

// The weighed totals (WeighedWeight, WeighedMoment, WeighedCG). `where` names
// each step before it is taken: a pass takes weighing point i with fluid i,
// and a total that overflows is put down to the list whose term is larger.
void computeWeighing(const RecalcInput& in, RecalcResult& r, Step& where) {
    for (int i = 0; i < kWeighingPoints; ++i) {
        const Step point = rowOf("weighing points", i), fluid = rowOf("fluids", i);
        const auto larger = [&](double pointTerm, double fluidTerm) {
            return std::fabs(fluidTerm) > std::fabs(pointTerm) ? fluid : point;
        };
        where = point;
        const double J = numberAt(in.JackWeight, i);
        const double T = numberAt(in.JackTare, i);
        const double A = numberAt(in.JackArm, i);
        where = fluid;
        const double F = numberAt(in.FluidWeight, i);
        const double G = numberAt(in.FluidArm, i);
        where = larger(J - T, F);
        r.WeighedWeight = single(double(r.WeighedWeight) + J - F - T);
        where = larger((J - T) * A, G * F);
        r.WeighedMoment = single((J - T) * A + double(r.WeighedMoment) - G * F);
    }
    where = Step{"weighed C.G."};
    if (r.WeighedWeight != 0 && r.WeighedMoment != 0)
        r.WeighedCG = single(double(r.WeighedMoment) / double(r.WeighedWeight));
}

// A figure for a box of `length` characters; its whole part must fit, or the
// box would show another number.
std::string fitting(std::string figure, int length, Step& where, const char* name) {
    const std::size_t whole = std::min(figure.find('.'), figure.size());
    if (length > 0 && whole > static_cast<std::size_t>(length)) {
        where = Step{name};
        overflow();
    }
    return figure;
}

// With a weighing in effect, what replaces Text9, Text10 and row 0.
WeighedReplacement weighedReplacement(const RecalcInput& in, const RecalcResult& r, Step& where) {
    WeighedReplacement w;
    w.Text9 = fitting(formatMask(r.WeighedWeight, "####0.#0"), in.Text9Length, where, "weighed weight");
    w.Text10 = fitting(formatMask(r.WeighedCG, "####0.#0"), in.Text10Length, where, "weighed C.G.");
    w.row0.ChangeDesc = kPreviousEmpty;
    w.row0.ChangeWeight = Value::single(r.WeighedWeight);
    w.row0.ChangeArm = Value::single(r.WeighedCG);
    w.row0.ChangeSerial = in.Text2;
    w.row0.ChangeInstalled = kPreviousEmptyMark;
    w.row0.ChangeRemoved = kPreviousEmptyMark;
    w.row0.rowText = joinRow(in.Text2, formatMask(r.WeighedWeight, "#####0.00"),
                             formatMask(r.WeighedCG, "#####0.00"), formatMask(r.WeighedMoment, "#####0.0"));
    return w;
}

// The new empty totals and what they show, from the weighing or from row 0.
void computeNewEmpty(const RecalcInput& in, RecalcResult& r, Step& where) {
    int firstRow = 0;
    if (r.weighed) {
        r.NewEmptyWeight = r.WeighedWeight;
        r.NewEmptyMoment = r.WeighedMoment;
        r.ChangeMoment0 = Value::single(r.WeighedMoment);
        firstRow = 1;
    } else {
        where = rowOf("change list", 0);
        r.ChangeMoment0 = Value("");
        r.ChangeMoment0 = checked(parseLeadingNumber(in.Text9) * parseLeadingNumber(in.Text10));
    }

    // The previous-empty row counts as installed; both marks cancel each other.
    for (int i = firstRow; i < in.Grid1Rows; ++i) {
        where = rowOf("change list", i);
        const double W = numberAt(in.ChangeWeight, i);
        const double R = numberAt(in.ChangeArm, i);
        if (isText(at(in.ChangeInstalled, i), kChangeMark) ||
            isText(at(in.ChangeDesc, i), kPreviousEmpty)) {
            r.NewEmptyWeight = single(double(r.NewEmptyWeight) + W);
            r.NewEmptyMoment = single(R * W + double(r.NewEmptyMoment));
        }
        if (isText(at(in.ChangeRemoved, i), kChangeMark)) {
            r.NewEmptyWeight = single(double(r.NewEmptyWeight) - W);
            r.NewEmptyMoment = single(double(r.NewEmptyMoment) - R * W);
        }
    }
    where = Step{"new empty C.G."};
    if (r.NewEmptyWeight != 0)
        r.NewEmptyCG = single(double(r.NewEmptyMoment) / double(r.NewEmptyWeight));

    r.Text23 = fitting(formatMask(r.NewEmptyWeight, "######.00"), in.Text23Length, where, "new empty weight");
    r.Text24 = fitting(formatMask(r.NewEmptyCG, "#####.00"), in.Text24Length, where, "new empty C.G.");
    r.Text27 = fitting(formatMask(r.NewEmptyMoment, "######.0"), in.Text27Length, where, "new empty moment");
}

// A failed weighing shows no weighed figure: Text9, Text10 and the figures of
// row 0 empty, as a weighing in effect would have replaced them.
RecalcResult weighingFailed(const RecalcInput& in) {
    RecalcResult shown;
    WeighedReplacement w;
    w.row0.ChangeDesc = kPreviousEmpty;
    w.row0.ChangeSerial = in.Text2;
    w.row0.ChangeWeight = w.row0.ChangeArm = Value("");
    w.row0.ChangeInstalled = w.row0.ChangeRemoved = kPreviousEmptyMark;
    w.row0.rowText = joinRow(in.Text2, "", "", "");
    shown.weighed = std::move(w);
    shown.ChangeMoment0 = Value("");
    return shown;
}

// A failed change list keeps the weighing and shows no new empty figure.
RecalcResult newEmptyFailed(RecalcResult r) {
    r.NewEmptyWeight = r.NewEmptyMoment = r.NewEmptyCG = 0;
    r.Text23 = r.Text24 = r.Text27 = "";
    return r;
}

}  // namespace

RecalcResult ComputeWeightAndBalance(const RecalcInput& in) {
    RecalcResult r;
    Step where;
    try {
        computeWeighing(in, r, where);
        if (r.WeighedCG != 0) r.weighed = weighedReplacement(in, r, where);
    } catch (const RuntimeError& e) {
        if (e.number() != kOverflow) throw;
        throw TotalsOverflow(where.name(), weighingFailed(in));
    }
    try {
        computeNewEmpty(in, r, where);
    } catch (const RuntimeError& e) {
        if (e.number() != kOverflow) throw;
        throw TotalsOverflow(where.name(), newEmptyFailed(std::move(r)));
    }
    return r;
}

std::optional<PreviousEmptyEntry> BuildPreviousEmptyRow(
    const std::string& lostFocusText, const std::string& Text2, const std::string& Text9,
    const std::string& Text10, const Value& ChangeDesc0, const Value& ChangeWeight0,
    const Value& ChangeArm0) {
    if (lostFocusText.empty()) return std::nullopt;

    const bool inPlace = isText(ChangeDesc0, kPreviousEmpty) ||
                         (isEmptyText(ChangeDesc0) && isEmptyText(ChangeWeight0) &&
                          isEmptyText(ChangeArm0));
    const std::optional<double> weight = readable(Text9), cg = readable(Text10);
    // A figure no total can hold shows empty.
    const auto shown = [](std::optional<double> v, const char* mask) {
        return v && std::fabs(*v) <= FLT_MAX ? formatMask(*v, mask) : std::string();
    };

    PreviousEmptyEntry e;
    e.placement = inPlace ? Row0Placement::ReplaceInPlace : Row0Placement::MoveDown;
    e.row0.ChangeDesc = kPreviousEmpty;
    e.row0.ChangeSerial = Text2;
    e.row0.ChangeWeight = Text9;
    e.row0.ChangeArm = Text10;
    e.row0.ChangeInstalled = kPreviousEmptyMark;
    e.row0.ChangeRemoved = kPreviousEmptyMark;
    const std::optional<double> moment = weight && cg ? std::optional(*weight * *cg) : std::nullopt;
    e.row0.rowText = joinRow(Text2, shown(weight, "######.0"), shown(cg, "####0.00"),
                             shown(moment, "#####0.0"));
    return e;
}

void MoveChangeRowsDown(std::span<Value> changeArray) {
    const int last = std::min(kLastChangeRow, static_cast<int>(changeArray.size()) - 1);
    for (int i = last; i >= 1; --i) changeArray[i] = changeArray[i - 1];
}

}  // namespace wb
