#include "record/RecordHive.h"

RecordHive RecordHiveOfKey(HKEY hRoot) {
    if (hRoot == HKEY_CLASSES_ROOT) return HIVE_CLASSES_ROOT;
    if (hRoot == HKEY_CURRENT_USER) return HIVE_CURRENT_USER;
    if (hRoot == HKEY_LOCAL_MACHINE) return HIVE_LOCAL_MACHINE;
    if (hRoot == HKEY_USERS) return HIVE_USERS;
    return HIVE_OTHER;
}

HKEY RecordKeyOfHive(RecordHive hive) {
    switch (hive) {
    case HIVE_CLASSES_ROOT: return HKEY_CLASSES_ROOT;
    case HIVE_CURRENT_USER: return HKEY_CURRENT_USER;
    case HIVE_LOCAL_MACHINE: return HKEY_LOCAL_MACHINE;
    case HIVE_USERS: return HKEY_USERS;
    default: return HKEY_CURRENT_CONFIG;
    }
}
