// The start-up of storage on a program folder filled with arbitrary files of the sizes it
// recognises: the input is split into files, start-up and the scan of saved orders run
// twice (a first and a next start), and nothing may be lost, nothing written outside the
// program folder.
//
// Input: a folder byte (which of Data, PP, PPDel exist as folders, or as files where the
// folders belong), then chunks: a slot byte (the kind of kinds.h, a name variant, or a folder
// or a link leading out of the program folder in the file's place), a size byte (the
// recognised size, or the bytes as they are, or the recognised size give or take a little),
// a 16-bit length and that many bytes.
#include "fuzzsupport.h"
#include "kinds.h"

#include "core/directory.h"
#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/startup.h"

#include <filesystem>
#include <memory>
#include <set>

using namespace storage;
using fuzzkinds::Kinds;

namespace {

fuzzsupport::Sandbox* sandbox;

// The kind's name, with its order number (or the old order's name) made different by variant.
std::string nameOf(const fuzzkinds::Kind& kind, int variant) {
    std::string path(kind.path);
    if (variant == 0)
        return path;
    for (const char* number : {"15_", "12_"}) {
        const std::size_t at = path.find(number);
        if (at != std::string::npos)
            return path.replace(at, 2, std::to_string(std::stoi(number) + variant));
    }
    const std::size_t at = path.find("order");
    if (at != std::string::npos)
        return path.replace(at, 5, "order" + std::to_string(variant));
    return path;
}

// The files whose content start-up may replace: the earlier version's orders, rewritten in
// the current layout where they lie.
bool convertible(const std::string& name, const fuzzsupport::Entry& e) {
    return e.type == fuzzsupport::Entry::File && e.size == 389 &&
           name.find('/') == std::string::npos && name.size() > 5 &&
           name.compare(name.size() - 5, 5, ".plat") == 0;
}

void checkNothingLost(const fuzzsupport::Tree& before, const fuzzsupport::Tree& after,
                      const char* when) {
    std::set<std::uint64_t> contents;
    for (const auto& [name, e] : after)
        if (e.type == fuzzsupport::Entry::File)
            contents.insert(e.digest);
    for (const auto& [name, e] : before) {
        if (e.type != fuzzsupport::Entry::File || convertible(name, e))
            continue;
        FUZZ_CHECK(contents.count(e.digest) > 0,
                   std::string(when) + ": lost the content of " + name);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::initQt();
    sandbox = new fuzzsupport::Sandbox;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 65536)
        return -1;
    fuzzsupport::Input in(data, size);
    sandbox->reset();
    const std::string prog = sandbox->prog();
    const std::string outside = sandbox->outside();
    fuzzsupport::writeRaw(outside + "Firms", std::string(507648, 'x'));
    fuzzsupport::writeRaw(outside + "order.plat", std::string(1169, '1'));

    const std::uint8_t folders = in.byte();
    const char* subs[] = {"Data", "PP", "PPDel"};
    for (int i = 0; i < 3; ++i) {
        if (folders & (1 << i))
            fuzzsupport::makeDir(prog + subs[i]);
        else if (folders & (8 << i))
            fuzzsupport::writeRaw(prog + subs[i], "not a folder");
    }
    for (int files = 0; !in.empty() && files < 24; ++files) {
        const std::uint8_t slot = in.byte();
        const std::uint8_t sizing = in.byte();
        const std::string_view bytes = in.take(in.u16());
        const fuzzkinds::Kind& kind = Kinds[slot % Kinds.size()];
        const std::string path = prog + nameOf(kind, (slot >> 4) % 4);
        if (slot & 0x40) {
            fuzzsupport::makeDir(path);
            continue;
        }
        if (slot & 0x80) {
            fuzzsupport::makeLink(outside + (kind.size == 507648 ? "Firms" : "order.plat"), path);
            continue;
        }
        std::size_t length = kind.size;
        if (sizing % 4 == 2)
            length = bytes.size();
        else if (sizing % 4 == 3)
            length = std::size_t(std::max<long>(0, long(kind.size) + long(sizing / 4) - 32));
        fuzzsupport::writeRaw(path, fuzzsupport::tile(bytes, length));
    }

    const fuzzsupport::Tree outsideBefore = fuzzsupport::snapshot(outside);
    const fuzzsupport::Tree before = fuzzsupport::snapshot(prog);
    fuzzsupport::Tree previous = before;
    for (const char* when : {"first start", "next start"}) {
        auto s = std::make_unique<FolderData>();
        startUp(*s, sandbox->progDir());
        SavedOrders listed;
        fuzzsupport::listOrders(s->folder, listed);
        {
            // The organization list's columns of hostile links and counts.
            core::ProgramFolder folder(s->folder);
            const core::Directory directory(folder, s->directory);
        }
        FUZZ_CHECK(s->directory.organizationCount <= MaxFirms &&
                       s->directory.deletedCount <= MaxFirms,
                   "directory counts");
        FUZZ_CHECK(s->directory.branchCount <= MaxFilials &&
                       s->directory.employeeCount <= MaxEmployees,
                   "table counts");
        const fuzzsupport::Tree after = fuzzsupport::snapshot(prog);
        checkNothingLost(previous, after, when);
        FUZZ_CHECK(fuzzsupport::snapshot(outside) == outsideBefore,
                   std::string(when) + ": something outside the program folder changed");
        const auto beside = std::distance(std::filesystem::directory_iterator(sandbox->root()),
                                          std::filesystem::directory_iterator());
        FUZZ_CHECK(beside == 2, std::string(when) + ": a file was made beside the program folder");
        previous = after;
    }
    return 0;
}
