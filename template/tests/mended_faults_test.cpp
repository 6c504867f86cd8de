#include "engine_test_support.h"
