// The OpenGL 3.3 core entry points, from the loader generated at build time.
#pragma once

#include <glad/gl.h>
