// The data files that start-up recognises, where they lie in the program folder and the
// size it recognises them by, for the fuzz targets that fill a program folder.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace fuzzkinds {

struct Kind {
    std::string_view path; // relative to the program folder
    std::size_t size;      // the size start-up recognises
    std::size_t unit;      // the record size inside the file
    bool oldLayout;        // a file of the earlier version, converted at start
};

inline constexpr std::array<Kind, 16> Kinds{{
    {"Data/Firms", 507648, 1983, false},
    {"Data/FirmsDel", 507648, 1983, false},
    {"Data/Filial", 46592, 182, false},
    {"Data/Employee", 198656, 194, false},
    {"FormW", 1024, 4, false},
    {"ArCol", 512, 2, false},
    {"Set", 512, 1, false},
    {"PathPlt", 256, 256, false},
    {"PP/15_1234567890_09.plat", 1169, 1169, false},
    {"15_1234567890_09.plat", 1169, 1169, false},
    {"15_1234567890_09.pdel", 1169, 1169, false},
    {"Firms", 189824, 2966, true},
    {"FirmsDel", 189824, 2966, true},
    {"12_1234567890.plat", 389, 389, true},
    {"order.plat", 389, 389, true},
    {"PPDel/15_1234567890_09.pdel", 1169, 1169, false},
}};

} // namespace fuzzkinds
