// The notice record: the newest few words on what the user just did.
#include "game/board/notice.h"

#include <cstdio>

static constexpr double notice_seconds = 4;

struct Notice {
    char words[notice_capacity];
    // Until when it shows; negative for a lasting one.
    double until;
    bool posted;
    // Its time starts when it is first looked at.
    bool timed_when_shown;
};

static Notice notice;

void post_notice(const char* text, double now) {
    snprintf(notice.words, sizeof(notice.words), "%s", text);
    notice.posted = true;
    notice.until = now + notice_seconds;
    notice.timed_when_shown = false;
}

void post_notice(const char* text) {
    post_notice(text, 0);
    notice.timed_when_shown = true;
}

void post_lasting_notice(const char* text) {
    post_notice(text, 0);
    notice.until = -1;
}

void take_back_notice() {
    notice.posted = false;
}

bool notice_timed() {
    return notice.posted && notice.until >= 0;
}

const char* notice_showing(double now) {
    if (notice.posted && notice.timed_when_shown) {
        notice.timed_when_shown = false;
        notice.until = now + notice_seconds;
    }
    if (notice.posted && (notice.until < 0 || now < notice.until)) return notice.words;
    notice.posted = false;
    return nullptr;
}
