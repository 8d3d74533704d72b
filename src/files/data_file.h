#pragma once
// Being written: the data file (.dat) writer and reader.
