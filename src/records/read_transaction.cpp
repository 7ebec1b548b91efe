#include "records/read_transaction.h"

#include "app/form1.h"
#include "platform/dialogs.h"
#include "records/open_database.h"

namespace wb {

bool beginReading(Form1& f, std::optional<ReadTransaction>& reads) {
    const int pointerBefore = f.mousePointer();
    f.setMousePointer(pointer::kHourglass);
    try {
        reads.emplace(f.dbRecords.get());
        f.setMousePointer(pointerBefore);
        return true;
    } catch (const RuntimeError& e) {
        f.setMousePointer(pointer::kDefault);
        f.services.dialogs->MsgBox(kPressOkToContinue, msgbox::kOkOnly | msgbox::kInformation,
                                   databaseProblemTitle(e.number(), f.dbRecords->path()));
        return false;
    }
}

}  // namespace wb
