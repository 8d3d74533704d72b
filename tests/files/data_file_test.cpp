#include <gtest/gtest.h>

#include "files/data_file.h"
