// epsglist: writes the EPSG list that mirvel compiles in as ":/data/epsg.txt".
//
//   epsglist OUTPUT [CODE...]
//
// Reads PROJ's database and writes every EPSG geographic 2-D and projected coordinate system
// that is not deprecated, in ascending code order, as two lines each (CR LF ends):
//
//   # WGS 84 / UTM zone 60S
//   <32760> +proj=utm +zone=60 +south +datum=WGS84 +units=m +no_defs <>
//
// The definition is PROJ's PROJ.4 string for the system without "+type=crs". A system is left
// out when PROJ has no PROJ.4 string for it or cannot make a projection of that string. A name
// that is not ASCII is an error: the list is read back as Latin-1.
//
// Given codes, only those systems are written (the test compares them with the committed list);
// a code that is no such system is an error. The output is written to a temporary file beside
// OUTPUT and renamed over it only when complete. The counts go to standard output.
//
// The build does not run this program: its output is committed (see EPSG-LIST.md).
#include <proj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Entry
{
    long code = 0;
    std::string name;
    bool geographic = false;
};

struct Counts
{
    int geographic = 0;
    int projected = 0;
    int withoutProj4 = 0;
    int unusable = 0;
};

/// The non-deprecated EPSG geographic 2-D and projected systems, ascending by code.
std::vector<Entry> listSystems(PJ_CONTEXT* context)
{
    const PJ_TYPE types[] = {PJ_TYPE_GEOGRAPHIC_2D_CRS, PJ_TYPE_PROJECTED_CRS};
    PROJ_CRS_LIST_PARAMETERS* params = proj_get_crs_list_parameters_create();
    params->types = types;
    params->typesCount = 2;
    params->allow_deprecated = 0;
    int count = 0;
    PROJ_CRS_INFO** infos = proj_get_crs_info_list_from_database(context, "EPSG", params, &count);
    proj_get_crs_list_parameters_destroy(params);
    if (!infos) {
        throw std::runtime_error("PROJ's database lists no EPSG coordinate systems");
    }
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        const PROJ_CRS_INFO* info = infos[i];
        if (info->deprecated) {
            continue;
        }
        char* end = nullptr;
        const long code = std::strtol(info->code, &end, 10);
        if (end == info->code || *end != '\0') {
            continue; // EPSG codes are numbers; the list's line form needs one
        }
        entries.push_back({code, info->name ? info->name : "", info->type == PJ_TYPE_GEOGRAPHIC_2D_CRS});
    }
    proj_crs_info_list_destroy(infos);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.code < b.code; });
    // PROJ lists a system once per usage record for a few codes: keep the first.
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const Entry& a, const Entry& b) { return a.code == b.code; }),
                  entries.end());
    return entries;
}

void requireAscii(const Entry& entry)
{
    for (unsigned char c : entry.name) {
        if (c < 0x20 || c > 0x7e) {
            throw std::runtime_error("EPSG:" + std::to_string(entry.code)
                                     + " has a name that is not printable ASCII: " + entry.name);
        }
    }
}

/// PROJ's PROJ.4 string of the system without "+type=crs"; empty when there is none.
std::string definitionOf(PJ_CONTEXT* context, long code)
{
    const std::string codeText = std::to_string(code);
    PJ* crs = proj_create_from_database(context, "EPSG", codeText.c_str(), PJ_CATEGORY_CRS, 0,
                                        nullptr);
    if (!crs) {
        return {};
    }
    const char* text = proj_as_proj_string(context, crs, PJ_PROJ_4, nullptr);
    std::string definition = text ? text : "";
    proj_destroy(crs);
    const std::string crsMark = " +type=crs";
    const std::size_t at = definition.find(crsMark);
    if (at != std::string::npos) {
        definition.erase(at, crsMark.size());
    }
    return definition;
}

/// True when PROJ makes a projection from longitude and latitude of the definition.
bool usableAsProjection(PJ_CONTEXT* context, const std::string& definition)
{
    PJ* projection = proj_create(context, definition.c_str());
    if (!projection) {
        return false;
    }
    const bool usable = !proj_is_crs(projection) && proj_angular_input(projection, PJ_FWD);
    proj_destroy(projection);
    return usable;
}

std::set<long> parseCodes(int argc, char** argv)
{
    std::set<long> codes;
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long code = std::strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '\0' || code <= 0) {
            throw std::runtime_error(std::string("not an EPSG code: ") + argv[i]);
        }
        codes.insert(code);
    }
    return codes;
}

Counts writeList(PJ_CONTEXT* context, const std::vector<Entry>& entries,
                 const std::set<long>& codes, std::ostream& out)
{
    Counts counts;
    std::set<long> seen;
    for (const Entry& entry : entries) {
        if (!codes.empty() && codes.count(entry.code) == 0) {
            continue;
        }
        seen.insert(entry.code);
        requireAscii(entry);
        const std::string definition = definitionOf(context, entry.code);
        if (definition.empty()) {
            ++counts.withoutProj4;
            continue;
        }
        if (!usableAsProjection(context, definition)) {
            ++counts.unusable;
            continue;
        }
        out << "# " << entry.name << "\r\n<" << entry.code << "> " << definition << " <>\r\n";
        ++(entry.geographic ? counts.geographic : counts.projected);
    }
    for (long code : codes) {
        if (seen.count(code) == 0) {
            throw std::runtime_error("EPSG:" + std::to_string(code)
                                     + " is no current geographic 2-D or projected system");
        }
    }
    return counts;
}

int run(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: epsglist OUTPUT [CODE...]\n";
        return 2;
    }
    const std::string output = argv[1];
    const std::set<long> codes = parseCodes(argc, argv);

    PJ_CONTEXT* context = proj_context_create();
    proj_log_level(context, PJ_LOG_NONE);
    const std::string temporary = output + ".part";
    Counts counts;
    try {
        const std::vector<Entry> entries = listSystems(context);
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            throw std::runtime_error("cannot write " + temporary);
        }
        counts = writeList(context, entries, codes, out);
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + temporary);
        }
    } catch (...) {
        std::remove(temporary.c_str());
        proj_context_destroy(context);
        throw;
    }
    const PJ_INFO info = proj_info();
    const char* epsgVersion = proj_context_get_database_metadata(context, "EPSG.VERSION");
    std::cout << "PROJ " << info.release << ", EPSG database " << (epsgVersion ? epsgVersion : "?")
              << "\n"
              << "definitions written: " << counts.geographic + counts.projected
              << " (geographic " << counts.geographic << ", projected " << counts.projected
              << ")\n"
              << "left out without a PROJ.4 string: " << counts.withoutProj4 << "\n"
              << "left out as no usable projection: " << counts.unusable << "\n";
    proj_context_destroy(context);
    if (std::rename(temporary.c_str(), output.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot rename " + temporary + " to " + output);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "epsglist: " << e.what() << "\n";
        return 1;
    }
}
