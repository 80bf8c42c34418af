/* Counts heap allocations per frame in the running program. Preloaded
 * (LD_PRELOAD) by bench/allocations.py; nothing in the program knows of it.
 *
 * Every malloc, calloc, realloc and aligned allocation is counted; a frame
 * ends at each glfwSwapBuffers. Allocations on the thread that swaps are also
 * charged, from their stack, to the library the program called and the module
 * (other than the C library) that allocated. At exit the report goes to
 * $TESSARIN_ALLOC_REPORT: one line per frame (its end on the monotonic clock,
 * allocations on the swapping thread and on others), then the charges made
 * after frame $TESSARIN_ALLOC_WARM_UP (default 100). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

extern void* __libc_malloc(size_t);
extern void* __libc_calloc(size_t, size_t);
extern void* __libc_realloc(void*, size_t);
extern void* __libc_memalign(size_t, size_t);

enum { frame_capacity = 1 << 20, module_capacity = 64, stack_depth = 64 };

struct FrameCount {
    double end_time;
    uint32_t swapping_thread;
    uint32_t other_threads;
};

struct ModuleCount {
    char name[96];
    uint64_t count;
};

static struct FrameCount frames[frame_capacity];
static struct ModuleCount modules[module_capacity];
static uint32_t frame;
static pthread_t swapping_thread;
static int swapping_thread_known;
static int warm_up;
static __thread int inside;

static const char* module_of(void* address) {
    Dl_info info;
    if (!dladdr(address, &info) || !info.dli_fname) return "?";
    const char* slash = strrchr(info.dli_fname, '/');
    return slash ? slash + 1 : info.dli_fname;
}

/* Charges an allocation to "<library the program called> > <module that
 * allocated>", e.g. "libglfw.so.3 > libX11.so.6"; the program's own
 * allocations are charged to "(its own code) > tessarin". */
static void charge_module(void) {
    void* stack[stack_depth];
    int depth = backtrace(stack, stack_depth);
    const char* allocating = NULL; /* the first module that is not libc or this counter */
    const char* entry = "?";       /* the outermost module below the program */
    for (int i = 1; i < depth; i++) {
        const char* name = module_of(stack[i]);
        if (!allocating) {
            if (strncmp(name, "libc.so", 7) == 0 || strstr(name, "alloc_counter")) continue;
            allocating = name;
        }
        if (strcmp(name, "tessarin") == 0) break;
        /* The counter further out on a stack is its glfwSwapBuffers wrapper. */
        entry = strstr(name, "alloc_counter") ? "glfwSwapBuffers" : name;
    }
    if (allocating && strcmp(allocating, "tessarin") == 0) entry = "(its own code)";
    char key[sizeof(modules[0].name)];
    snprintf(key, sizeof(key), "%s > %s", entry, allocating ? allocating : "?");
    /* With $TESSARIN_ALLOC_TRACE naming a module, its allocations' stacks go to stderr. */
    const char* trace = getenv("TESSARIN_ALLOC_TRACE");
    if (trace && allocating && strcmp(trace, allocating) == 0)
        backtrace_symbols_fd(stack, depth, 2);
    for (int i = 0; i < module_capacity; i++) {
        if (modules[i].name[0] == 0) snprintf(modules[i].name, sizeof(modules[i].name), "%s", key);
        if (strcmp(modules[i].name, key) == 0) {
            modules[i].count++;
            return;
        }
    }
}

static void count(void) {
    if (inside || frame >= frame_capacity) return;
    inside = 1;
    if (swapping_thread_known && pthread_equal(pthread_self(), swapping_thread)) {
        frames[frame].swapping_thread++;
        if ((int)frame > warm_up) charge_module();
    } else {
        frames[frame].other_threads++;
    }
    inside = 0;
}

void* malloc(size_t size) {
    count();
    return __libc_malloc(size);
}

void* calloc(size_t n, size_t size) {
    count();
    return __libc_calloc(n, size);
}

void* realloc(void* p, size_t size) {
    count();
    return __libc_realloc(p, size);
}

void* memalign(size_t alignment, size_t size) {
    count();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
    count();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
    count();
    void* p = __libc_memalign(alignment, size);
    if (!p) return 12; /* ENOMEM */
    *out = p;
    return 0;
}

void glfwSwapBuffers(void* window) {
    static void (*real_swap)(void*);
    if (!real_swap) {
        inside = 1;
        real_swap = (void (*)(void*))dlsym(RTLD_NEXT, "glfwSwapBuffers");
        inside = 0;
    }
    real_swap(window);
    if (!swapping_thread_known) {
        swapping_thread = pthread_self();
        swapping_thread_known = 1;
    }
    if (frame >= frame_capacity) return;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    frames[frame].end_time = (double)now.tv_sec + now.tv_nsec / 1e9;
    frame++;
}

__attribute__((constructor)) static void start(void) {
    const char* w = getenv("TESSARIN_ALLOC_WARM_UP");
    warm_up = w ? atoi(w) : 100;
    /* The first backtrace loads libgcc_s, which allocates: do it now. */
    void* stack[2];
    inside = 1;
    backtrace(stack, 2);
    inside = 0;
}

__attribute__((destructor)) static void report(void) {
    const char* path = getenv("TESSARIN_ALLOC_REPORT");
    if (!path) return;
    inside = 1;
    FILE* out = fopen(path, "w");
    if (!out) return;
    for (uint32_t i = 0; i <= frame && i < frame_capacity; i++)
        fprintf(out, "frame %u %.6f %u %u\n", i, frames[i].end_time, frames[i].swapping_thread,
                frames[i].other_threads);
    for (int i = 0; i < module_capacity && modules[i].name[0]; i++)
        fprintf(out, "module %llu %s\n", (unsigned long long)modules[i].count, modules[i].name);
    fclose(out);
}
