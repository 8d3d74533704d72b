#include "files/data_file.h"
