// NewRecord: a blank worksheet for a new weighing. Each step that fails is
// skipped and the next one runs; nothing reaches the caller.
#include "app/form1.h"
#include "platform/clock.h"

namespace wb {

namespace {
RecordSource byDate(const char* table) { return RecordSource(table).OrderBy("Date"); }
}  // namespace

void Form1::NewRecord() {
    weighingOnScreen.reset();
    skipOnFailure([&] { rsAircraft = need(dbRecords).CreateDynaset(byDate("Aircraft")); });
    skipOnFailure([&] { rsEquipment = need(dbRecords).CreateDynaset(byDate("Equipment")); });
    skipOnFailure([&] { need(rsAircraft).AddNew(); });
    skipOnFailure([&] { need(rsEquipment).AddNew(); });
    skipOnFailure([&] {
        ws.NewRecordMode = 1;
        ws.PreviousListPending = 1;
        ws.SearchActive = 0;
        ws.SavedState = 0;
    });
    skipOnFailure([&] {
        ws.NewEmptyWeight = 0;
        ws.NewEmptyMoment = 0;
        ws.NewEmptyCG = 0;
    });
    skipOnFailure([&] { ClearWorksheet(); });
    skipOnFailure([&] { Text7.setText(formatMmDdYyyy(services.clock->today())); });
    skipOnFailure([&] {
        Text6.setText(Text25.text());
        Text22.setText(Text26.text());
    });
    skipOnFailure([&] { Text1.SetFocus(); });
}

}  // namespace wb
