#include "files/ods_document.h"

#include <algorithm>
#include <string_view>
#include <zip.h>

#include "files/atomic_file.h"

namespace orvanic {
namespace {

constexpr std::string_view kMimeType = "application/vnd.oasis.opendocument.spreadsheet";

constexpr std::string_view kManifest =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.2\">\n"
    " <manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
    "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>\n"
    " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
    "</manifest:manifest>\n";

constexpr std::string_view kContentHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" office:version=\"1.2\">\n";

// A cell text as paragraph content: markup characters escaped, runs of
// spaces and tabs kept (XML would fold them), characters XML cannot carry
// shown as "?".
std::string paragraphText(std::string_view text)
{
    std::string out;
    std::size_t spaces = 0;
    auto flushSpaces = [&] {
        if (spaces == 0)
            return;
        // The first space of a run is ordinary unless it opens the paragraph.
        if (!out.empty()) {
            out += ' ';
            --spaces;
        }
        if (spaces > 0)
            out += "<text:s text:c=\"" + std::to_string(spaces) + "\"/>";
        spaces = 0;
    };
    for (char c : text) {
        if (c == ' ') {
            ++spaces;
            continue;
        }
        flushSpaces();
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "<text:tab/>"; break;
        case '\n': out += "<text:line-break/>"; break;
        default:
            out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
    }
    flushSpaces();
    return out;
}

std::string content(const SheetLayout& layout)
{
    const std::vector<std::size_t> widest = columnCharacters(layout);
    std::string xml(kContentHead);
    xml += "<office:automatic-styles>\n";
    for (std::size_t c = 0; c < widest.size(); ++c) {
        // About 2 mm per character of the default font.
        const std::size_t millimetres = 2 * std::clamp<std::size_t>(widest[c] + 2, 10, 40);
        xml += "<style:style style:name=\"co" + std::to_string(c + 1) +
               "\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"" +
               std::to_string(millimetres) + "mm\"/></style:style>\n";
    }
    xml += "</office:automatic-styles>\n<office:body><office:spreadsheet><table:table table:name=\"Лист1\">\n";
    for (std::size_t c = 0; c < widest.size(); ++c)
        xml += "<table:table-column table:style-name=\"co" + std::to_string(c + 1) + "\"/>\n";

    std::uint32_t row = 0;
    std::uint32_t column = 0;  // cells written in the open row
    for (const SheetCell& cell : layout.cells) {
        while (row < cell.row) {
            if (row > 0)
                xml += "</table:table-row>\n";
            xml += "<table:table-row>";
            ++row;
            column = 0;
        }
        if (cell.column <= column)
            continue;  // one text per cell
        if (cell.column > column + 1)
            xml += "<table:table-cell table:number-columns-repeated=\"" + std::to_string(cell.column - column - 1) + "\"/>";
        if (cell.text.empty())
            xml += "<table:table-cell/>";
        else
            xml += "<table:table-cell office:value-type=\"string\"><text:p>" + paragraphText(cell.text) + "</text:p></table:table-cell>";
        column = cell.column;
    }
    if (row > 0)
        xml += "</table:table-row>\n";
    xml += "</table:table></office:spreadsheet></office:body></office:document-content>\n";
    return xml;
}

bool addEntry(zip_t* archive, const char* name, std::string_view bytes, bool stored)
{
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    if (source == nullptr)
        return false;
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    // Readers find the type in the first entry, uncompressed.
    return zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) == 0;
}

}  // namespace

std::optional<UserMessage> writeOdsDocument(const std::filesystem::path& file, const SheetLayout& layout)
{
    const std::string xml = content(layout);
    const bool written = writeFileAtomically(file, [&](const std::filesystem::path& temporary) {
        int error = 0;
        zip_t* archive = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (archive == nullptr)
            return false;
        const bool filled = addEntry(archive, "mimetype", kMimeType, true) &&
                            addEntry(archive, "META-INF/manifest.xml", kManifest, false) &&
                            addEntry(archive, "content.xml", xml, false);
        if (!filled) {
            zip_discard(archive);
            return false;
        }
        return zip_close(archive) == 0;
    });
    if (written)
        return std::nullopt;
    return fileNotWritten(file);
}

}  // namespace orvanic
