// LoadPreviousEquipment: placeholder until the previous equipment list is in.
#include "app/form1.h"

namespace wb {

void Form1::LoadPreviousEquipment() {}

}  // namespace wb
