// Everything the runtime core offers: strings, arrays, objects, the
// collector and error output.
#pragma once

#include "runtime/array.h"
#include "runtime/error.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime/string.h"
