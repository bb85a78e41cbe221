// Registry roots as the install record writes them: HKEY <-> hive code.
#pragma once
#include <windows.h>

#include "record/RecordFormat.h"

RecordHive RecordHiveOfKey(HKEY hRoot);
HKEY RecordKeyOfHive(RecordHive hive);
