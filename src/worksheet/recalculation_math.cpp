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

std::string joinRow(const std::string& serial, const std::string& weight,
                    const std::string& arm, const std::string& moment) {
    const std::string tab = "\t";
    return std::string(kPreviousEmpty) + tab + serial + tab + weight + tab + arm + tab +
           moment + tab + kPreviousEmptyMark + tab + kPreviousEmptyMark;
}

}  // namespace

double NumberOf(const Value& v) { return v.leadingNumber(); }

RecalcResult ComputeWeightAndBalance(const RecalcInput& in) {
    RecalcResult r;

    for (int i = 0; i < kWeighingPoints; ++i) {
        const double J = numberAt(in.JackWeight, i);
        const double T = numberAt(in.JackTare, i);
        const double A = numberAt(in.JackArm, i);
        const double F = numberAt(in.FluidWeight, i);
        const double G = numberAt(in.FluidArm, i);
        r.WeighedWeight = single(double(r.WeighedWeight) + J - F - T);
        r.WeighedMoment = single((J - T) * A + double(r.WeighedMoment) - G * F);
    }
    if (r.WeighedWeight != 0 && r.WeighedMoment != 0)
        r.WeighedCG = single(double(r.WeighedMoment) / double(r.WeighedWeight));

    int firstRow = 0;
    if (r.WeighedCG != 0) {
        r.NewEmptyWeight = r.WeighedWeight;
        r.NewEmptyMoment = r.WeighedMoment;
        WeighedReplacement w;
        w.Text9 = formatMask(r.WeighedWeight, "####0.#0");
        w.Text10 = formatMask(r.WeighedCG, "####0.#0");
        w.row0.ChangeDesc = kPreviousEmpty;
        w.row0.ChangeWeight = Value::single(r.WeighedWeight);
        w.row0.ChangeArm = Value::single(r.WeighedCG);
        w.row0.ChangeSerial = in.Text2;
        w.row0.ChangeInstalled = kPreviousEmptyMark;
        w.row0.ChangeRemoved = kPreviousEmptyMark;
        w.row0.rowText = joinRow(in.Text2, formatMask(r.WeighedWeight, "#####0.00"),
                                 formatMask(r.WeighedCG, "#####0.00"),
                                 formatMask(r.WeighedMoment, "#####0.0"));
        r.ChangeMoment0 = Value::single(r.WeighedMoment);
        r.weighed = std::move(w);
        firstRow = 1;
    } else {
        r.ChangeMoment0 = checked(parseLeadingNumber(in.Text9) * parseLeadingNumber(in.Text10));
    }

    // The previous-empty row counts as installed; both marks cancel each other.
    for (int i = firstRow; i < in.Grid1Rows; ++i) {
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
    if (r.NewEmptyWeight != 0)
        r.NewEmptyCG = single(double(r.NewEmptyMoment) / double(r.NewEmptyWeight));

    r.Text23 = formatMask(r.NewEmptyWeight, "######.00");
    r.Text24 = formatMask(r.NewEmptyCG, "#####.00");
    r.Text27 = formatMask(r.NewEmptyMoment, "######.0");
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
    const double weight = parseLeadingNumber(Text9);
    const double cg = parseLeadingNumber(Text10);
    const double moment = checked(weight * cg);

    PreviousEmptyEntry e;
    e.placement = inPlace ? Row0Placement::ReplaceInPlace : Row0Placement::MoveDown;
    e.row0.ChangeDesc = kPreviousEmpty;
    e.row0.ChangeSerial = Text2;
    e.row0.ChangeWeight = Text9;
    e.row0.ChangeArm = Text10;
    e.row0.ChangeInstalled = kPreviousEmptyMark;
    e.row0.ChangeRemoved = kPreviousEmptyMark;
    e.row0.rowText = joinRow(Text2, formatMask(checked(weight), "######.0"),
                             formatMask(checked(cg), "####0.00"),
                             formatMask(moment, "#####0.0"));
    return e;
}

void MoveChangeRowsDown(std::span<Value> changeArray) {
    const int last = std::min(kLastChangeRow, static_cast<int>(changeArray.size()) - 1);
    for (int i = last; i >= 1; --i) changeArray[i] = changeArray[i - 1];
}

}  // namespace wb
