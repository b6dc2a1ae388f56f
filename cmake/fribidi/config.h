/* FriBidi's build configuration for the WebAssembly and Windows builds, as
 * its build system writes it on a C library with the standard headers. */
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1
#define HAVE_STRINGIZE 1
#define STDC_HEADERS 1
