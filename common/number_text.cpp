#include "common/number_text.h"

#include <cstdio>

int number_text(uint64_t number, char out[number_text_size]) {
    char digits[21];
    int count = snprintf(digits, sizeof(digits), "%llu", (unsigned long long)number);
    int length = 0;
    for (int i = 0; i < count; i++) {
        if (i > 0 && (count - i) % 3 == 0) out[length++] = ',';
        out[length++] = digits[i];
    }
    out[length] = 0;
    return length;
}
