// Every kind of data file, filled with arbitrary bytes, through the real start-up of storage
// (startUp, then the scan of saved orders as the main window makes it), the directory's list
// cache and export, and the form layout of a loaded order.
//
// Input: the kind (see kinds.h), how the size is made (the bytes repeated to the recognised
// size, padded with zeros to it, taken as they are, or the recognised size give or take up to
// 128 bytes), then the bytes.
#include "fuzzsupport.h"
#include "kinds.h"

#include "core/directory.h"
#include "render/formlayout.h"
#include "render/orderinput.h"
#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/platfile.h"
#include "storage/startup.h"

#include <memory>

using namespace storage;
using fuzzkinds::Kinds;

namespace {

fuzzsupport::Sandbox* sandbox;

// A measurer of fixed glyph widths: the layout only needs numbers.
class FixedMeasurer : public render::TextMeasurer {
public:
    void setFont(std::string_view, int cellHeight, render::FontStyle) override {
        height_ = cellHeight;
    }
    int textWidth(std::string_view text) override { return int(text.size()) * 20; }
    int textHeight() override { return height_; }

private:
    int height_ = 0;
};

template <class T, std::size_t N>
int leadingInUse(const std::string& file, std::size_t offset, std::size_t unit) {
    int n = 0;
    while (n < int(N) && std::size_t(n) * unit + offset < file.size() &&
           file[std::size_t(n) * unit + offset] != 0)
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::initQt();
    sandbox = new fuzzsupport::Sandbox;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Input in(data, size);
    const fuzzkinds::Kind& kind = Kinds[in.byte() % Kinds.size()];
    const std::uint8_t mode = in.byte();
    const int delta = int(in.byte()) - 128;
    const std::string_view bytes = in.rest();
    std::string file;
    switch (mode % 4) {
    case 0:
        file = fuzzsupport::tile(bytes, kind.size);
        break;
    case 1:
        file = std::string(bytes.substr(0, kind.size));
        file.resize(kind.size, '\0');
        break;
    case 2:
        file = std::string(bytes);
        break;
    default:
        file = fuzzsupport::tile(bytes, std::size_t(std::max<long>(0, long(kind.size) + delta)));
        break;
    }

    sandbox->reset();
    const std::string prog = sandbox->prog();
    if (!kind.oldLayout || kind.size == 389)
        for (const char* sub : {"Data", "PP", "PPDel"})
            fuzzsupport::makeDir(prog + sub);
    FUZZ_CHECK(fuzzsupport::writeRaw(prog + std::string(kind.path), file), "cannot set up");
    const fuzzsupport::Tree before = fuzzsupport::snapshot(prog);

    auto s = std::make_unique<FolderData>();
    const QStringList messages = startUp(*s, sandbox->progDir());
    SavedOrders listed;
    FUZZ_CHECK(fuzzsupport::listOrders(s->folder, listed).ok, "the scan failed");
    {
        // The organization list's columns of hostile links and counts.
        core::ProgramFolder folder(s->folder);
        const core::Directory directory(folder, s->directory);
    }
    FUZZ_CHECK(saveOrganizationExport(s->folder, s->directory).ok, "export failed");

    // Counts and mended settings.
    FUZZ_CHECK(s->directory.organizationCount >= 0 && s->directory.organizationCount <= MaxFirms,
               "FirmCount");
    FUZZ_CHECK(s->directory.deletedCount >= 0 && s->directory.deletedCount <= MaxFirms,
               "FirmDelCount");
    FUZZ_CHECK(s->directory.branchCount >= 0 && s->directory.branchCount <= MaxFilials,
               "FilialCount");
    FUZZ_CHECK(s->directory.employeeCount >= 0 && s->directory.employeeCount <= MaxEmployees,
               "EmplCount");
    FUZZ_CHECK(listed.size() <= 1, "listed orders");
    for (const FormSize& f : s->settings.windowSizes)
        FUZZ_CHECK(f.width != 0 && f.height != 0, "a window size of 0");
    for (const U16& w : s->settings.columnWidths)
        FUZZ_CHECK(w >= 2, "a column width below 2");
    const bool whole = file.size() >= kind.size;
    if (whole && !kind.oldLayout) {
        if (kind.path == "Data/Firms")
            FUZZ_CHECK(s->directory.organizationCount ==
                           (leadingInUse<OrganizationRecord, MaxFirms>(file, 0, 1983)),
                       "FirmCount is not the leading named records");
        if (kind.path == "Data/Filial")
            FUZZ_CHECK(s->directory.branchCount ==
                           (leadingInUse<BranchRecord, MaxFilials>(file, 2, 182)),
                       "FilialCount is not the leading records with an address");
        if (kind.path == "Data/Employee")
            FUZZ_CHECK(s->directory.employeeCount ==
                           (leadingInUse<EmployeeRecord, MaxEmployees>(file, 51, 194)),
                       "EmplCount is not the leading records with a surname");
    }
    // A table or settings file shorter than its record is reported once, kept aside and
    // written again whole; every other file goes through without a word.
    const bool table =
        !kind.oldLayout && !kind.path.ends_with(".plat") && !kind.path.ends_with(".pdel");
    const bool salvaged = table && !whole && !(file.empty() && kind.path == "FormW");
    if (salvaged)
        FUZZ_CHECK(messages.size() == 1, "a short file is reported once");
    else
        FUZZ_CHECK(messages.isEmpty(), messages.join('\n').toStdString());

    // Nothing is lost: what the file held is still in the folder, under its name, aside or
    // moved into its folder (the earlier version's orders are rewritten in their new layout).
    const fuzzsupport::Tree after = fuzzsupport::snapshot(prog);
    if (kind.size != 389) {
        bool kept = false;
        for (const auto& [name, e] : after)
            kept = kept || e == fuzzsupport::fileEntry(file);
        FUZZ_CHECK(kept, "the file's content is gone");
    } else {
        FUZZ_CHECK(after.size() >= before.size(), "a file is gone");
    }
    if (salvaged) {
        const std::string path(kind.path);
        FUZZ_CHECK(after.count(path) && after.at(path).size == kind.size,
                   "a salvaged file was not written whole again");
    }

    // The next start reads everything without a word, and an order lays out.
    auto next = std::make_unique<FolderData>();
    const QStringList again = startUp(*next, sandbox->progDir());
    FUZZ_CHECK(again.isEmpty(), again.join('\n').toStdString());
    SavedOrders listedNext;
    FUZZ_CHECK(fuzzsupport::listOrders(next->folder, listedNext).ok, "the second scan failed");
    if (listedNext.size() > 0) {
        OrderRecord record;
        FUZZ_CHECK(
            openOrderFile(next->folder, listedNext.name(listedNext.listOrder()[0]), record).ok,
            "cannot open the listed order");
        FixedMeasurer m;
        const render::FormLayout layout =
            render::layOut(render::orderInputFromRecord(record),
                           render::DeviceMetrics::fromDpi(1200, 1200, 167, 167, false), m);
        (void)layout;
    }
    return 0;
}
