// Any bytes as the "session" file: either refused, leaving the session as it
// was, or read into one whose text reads back to the same session.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/session_text.h"

static bool same(const Session& a, const Session& b) {
    return a.pace == b.pace && a.length == b.length && a.strategy == b.strategy &&
           a.window_known == b.window_known && a.full_screen == b.full_screen && a.x == b.x &&
           a.y == b.y && a.width == b.width && a.height == b.height &&
           strcmp(a.file, b.file) == 0 && a.puzzle == b.puzzle &&
           memcmp(a.cells, b.cells, sizeof(a.cells)) == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's length, so reading one byte past it is caught.
    char* text = (char*)malloc(size ? size : 1);
    if (size) memcpy(text, data, size);
    Session untouched{};
    untouched.strategy = 3;
    Session session = untouched;
    if (!session_from_text(text, size, &session)) {
        if (!same(session, untouched)) abort();
    } else {
        char written[session_text_capacity];
        int length = session_to_text(session, written, sizeof(written));
        Session again{};
        // The scale is written to five places; the rest reads back exactly.
        if (!session_from_text(written, (size_t)length, &again) || !same(session, again)) abort();
    }
    free(text);
    return 0;
}
