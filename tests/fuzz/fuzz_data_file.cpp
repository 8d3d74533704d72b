// Opening a data file (.dat), then what the window and the command-line
// reader do with it: the field selection and the CSV text.
//
// The reader takes a path, so each input goes into one in-memory file,
// rewritten for every input.

#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "files/csv_export.h"
#include "files/data_file.h"
#include "files/fields_list.h"
#include "fuzz_check.h"

using namespace orvanic;

namespace {

const std::string& inputPath(const std::uint8_t* data, std::size_t size)
{
    static const int fd = ::memfd_create("fuzz_data_file.dat", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::ftruncate(fd, 0) == 0);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        FUZZ_CHECK(n > 0);
        done += static_cast<std::size_t>(n);
    }
    return path;
}

void open(const std::string& path, std::uint8_t devTypeEnergy, const std::string& decimalSeparator)
{
    const OpenedDataFile opened = openDataFile(path, devTypeEnergy, decimalSeparator);
    const TOrvanicStruct& d = opened.description;
    const std::size_t columns = opened.table.columnTitles.size();
    FUZZ_CHECK(columns >= 1 && columns <= kMaxFieldsListEntries && d.CountFields == columns);
    FUZZ_CHECK(d.CountStatus <= kMaxStatuses);
    FUZZ_CHECK(opened.icons.size() == opened.table.rows.size());
    for (const std::vector<std::string>& row : opened.table.rows)
        FUZZ_CHECK(row.size() == columns);
    const AFieldsList fields = FillFieldList(opened.table.columnTitles);
    (void)formatCsv(opened.table, fields, d.DeviceName, d.DeviceNumber);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = inputPath(data, size);
    open(path, 0, ".");
    open(path, 1, ",");
    return 0;
}
