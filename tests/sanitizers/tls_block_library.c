// A loaded library with a thread-local block of 32 bytes, which glibc
// allocates with malloc on a thread's first use.
__thread char tls_block[32];

char* tls_block_address(void) {
    return tls_block;
}
