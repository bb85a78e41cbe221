// libFuzzer target: any bytes as a record text. Every scan must stay inside the text and inside
// one line, move forward, agree with CountRecords, and never crash or hang.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "framework/NarrowString.h"
#include "framework/PathText.h"
#include "record/RecordFormat.h"

namespace {

void Check(bool condition) {
    if (!condition) abort();
}

void ScanKind(const CString& text, int kind) {
    const int length = text.GetLength();
    const char* bytes = text;
    const char* tag = RecordTag(kind);
    const int tagLength = static_cast<int>(strlen(tag));
    int pos = 0, start = 0, valueLength = 0, found = 0, lastPos = -1;
    while (FindRecord(text, kind, pos, start, valueLength)) {
        ++found;
        Check(pos > lastPos);
        lastPos = pos;
        Check(start >= tagLength && valueLength >= 0 && start + valueLength <= length);
        Check(memcmp(bytes + start - tagLength, tag, tagLength) == 0);
        Check(memchr(bytes + start, '\n', valueLength) == NULL);
        Check(memchr(bytes + start, '\0', valueLength) == NULL);
        Check(start + valueLength == length || bytes[start + valueLength] == '\n');
        if (kind == RECORD_REGKEY) {
            CString value(bytes + start, valueLength);
            RecordHive hive = HIVE_OTHER;
            CString keyPath;
            if (SplitRegKeyValue(value, hive, keyPath)) {
                Check(keyPath.GetLength() < valueLength);
                Check(hive >= HIVE_CLASSES_ROOT && hive <= HIVE_OTHER);
            } else {
                Check(value.Find(',') < 0);
            }
        }
        Check(found <= length);
    }
    Check(found == CountRecords(text, kind));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    for (int kind = RECORD_FILE; kind <= RECORD_REGKEY; ++kind) ScanKind(text, kind);

    // Joining and appending never lose or invent bytes.
    const int half = text.GetLength() / 2;
    CString folder = text.Left(half), name = text.Mid(half);
    CString joined = JoinPath(folder, name);
    Check(joined.GetLength() >= name.GetLength() &&
          joined.GetLength() <= folder.GetLength() + 1 + name.GetLength());
    CString record;
    AppendRecord(record, RECORD_FILE, name);
    Check(record.GetLength() == static_cast<int>(strlen(RecordTag(RECORD_FILE))) + name.GetLength() + 1);
    return 0;
}
