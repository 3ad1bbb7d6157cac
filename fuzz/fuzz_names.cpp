// The naming rules of the order files: splitAtUnderscores and makeOrderFileName on names from
// the input, and the list of saved orders (the scan and the list, as at start-up) on a folder of
// files whose names, sizes, kinds and contents come from the input.
//
// Input: a settings byte, then entries separated by '\n': a kind byte followed by the raw
// file name. The kind chooses the size (1169, 1168, 1170 or 0 bytes), whether the record
// agrees with its name or names another order, and whether the entry is a folder or a link
// leading out of the program folder.
#include "fuzzsupport.h"

#include "storage/folder.h"
#include "storage/platfile.h"
#include "storage/savedorders.h"
#include "storage/words.h"

#include <QDate>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace storage;
using fuzzsupport::Tree;

namespace {

fuzzsupport::Sandbox* sandbox;

std::string recordFor(std::string_view number, std::string_view inn, std::string_view yy,
                      std::uint8_t kind) {
    OrderRecord p;
    clearRecord(p);
    p.number.assign(number);
    p.payerInn.assign(inn);
    std::string date = "03.02.20";
    date += yy;
    p.date.assign(date);
    p.payeeInn.assign(inn);
    p.amount.assign(std::string_view("1500-00"));
    p.accepted = kind & 1;
    return std::string(reinterpret_cast<const char*>(&p), sizeof p);
}

void checkName(std::string_view stem) {
    WordList parts;
    splitAtUnderscores(stem, parts);
    FUZZ_CHECK(parts.count <= WordList::Capacity, "part count");
    if (parts.count < 3)
        return;
    ShortStr<28> name;
    name.assign(std::string_view("unchanged"));
    const bool made = makeOrderFileName(parts[0], parts[1], parts[2], name);
    const bool digits = isDigits(parts[0]) && isDigits(parts[1]) && isDigits(parts[2]);
    FUZZ_CHECK(made == digits, "a name of other characters than digits was made, or refused");
    if (!made) {
        FUZZ_CHECK(name.view() == "unchanged", "a refused name changed its output");
        return;
    }
    const std::string_view n = name.view();
    FUZZ_CHECK(n.size() <= 28, "name longer than 28");
    FUZZ_CHECK(isPlainFileName(n), "not a plain file name");
    for (char c : n)
        FUZZ_CHECK((c >= '0' && c <= '9') || c == '_' || c == '.' || (c >= 'a' && c <= 'z'),
                   "unexpected character in a made name");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::initQt();
    sandbox = new fuzzsupport::Sandbox;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8192)
        return -1;
    fuzzsupport::Input in(data, size);
    sandbox->reset();
    const std::string prog = sandbox->prog();
    const std::string pp = prog + "PP/";
    fuzzsupport::makeDir(pp);
    fuzzsupport::writeRaw(sandbox->outside() + "target.plat", recordFor("1", "1", "09", 0));

    const std::uint8_t settings = in.byte();
    std::vector<std::pair<std::uint8_t, std::string>> entries;
    while (!in.empty() && entries.size() < 64) {
        const std::uint8_t kind = in.byte();
        std::string name(in.until('\n'));
        checkName(name);
        for (char& c : name)
            if (c == '/' || c == '\0')
                c = '_';
        if (name.empty() || name == "." || name == "..")
            continue;
        if (kind & 0x40)
            name += ".plat"; // most names the scan looks at end so
        entries.emplace_back(kind, name);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [kind, name] = entries[i];
        const std::string path = pp + name;
        if (kind & 0x80) {
            if (kind & 0x20)
                fuzzsupport::makeDir(path);
            else
                fuzzsupport::makeLink(sandbox->outside() + "target.plat", path);
            continue;
        }
        // The record names its own order, or the order of the next entry.
        const std::string& source =
            (kind & 0x10) && i + 1 < entries.size() ? entries[i + 1].second : name;
        WordList parts;
        const std::string_view stem = std::string_view(source).substr(
            0, source.size() > 5 ? source.size() - 5 : source.size());
        splitAtUnderscores(stem, parts);
        std::string content =
            recordFor(parts.count > 0 ? parts[0] : "", parts.count > 1 ? parts[1] : "",
                      parts.count > 2 ? parts[2] : "", kind);
        switch ((kind >> 2) & 3) {
        case 1:
            content.pop_back();
            break;
        case 2:
            content.push_back('x');
            break;
        case 3:
            content.clear();
            break;
        default:
            break;
        }
        fuzzsupport::writeRaw(path, content);
    }

    const Tree outsideBefore = fuzzsupport::snapshot(sandbox->outside());
    const Tree before = fuzzsupport::snapshot(pp);
    auto s = std::make_unique<FolderData>();
    s->folder.setProgramDir(sandbox->progDir());
    s->settings.currentYearOnly() = settings & 1;
    const int year = 2000 + settings % 16;
    for (int run = 0; run < 2; ++run) {
        OrderFolderScan scan;
        const IoResult r = scanOrderFolder(s->folder.ordersDir, {}, {}, scan);
        FUZZ_CHECK(r.ok, "the scan failed on files it can read");
        SavedOrders orders;
        orders.build(std::move(scan), s->folder.ordersDir,
                     {s->settings.currentYearOnly() == 1, year, false}, {});
        FUZZ_CHECK(orders.payers().size() <= orders.size() &&
                       orders.payees().size() <= orders.size(),
                   "table sizes");
        std::set<std::string> payers;
        std::uint32_t previous = 0;
        for (const std::uint32_t row : orders.listOrder()) {
            const FolderOrder& e = orders.file(row);
            FUZZ_CHECK(previous <= e.keys.number, "list not sorted by number");
            previous = e.keys.number;
            const std::string_view name = orders.name(row);
            WordList parts;
            splitAtUnderscores(name.substr(0, name.size() - 5), parts);
            FUZZ_CHECK(parts.count == 3 && isDigits(parts[0]) && isDigits(parts[1]) &&
                           isDigits(parts[2]),
                       "listed a name that is not three groups of digits");
            FUZZ_CHECK(orders.numberText(row) == parts[0] &&
                           orders.payerInn(row) == parts[1].substr(0, 12),
                       "entry differs from its name");
            if (s->settings.currentYearOnly())
                FUZZ_CHECK(std::stoi("20" + std::string(parts[2])) == year, "other year listed");
            payers.insert(std::string(orders.payerInn(row)));
        }
        FUZZ_CHECK(payers.size() == orders.payers().size(), "payer table is not the distinct INNs");
    }

    // Renames never lose or merge a file, never touch a link's target, and nothing outside
    // the folder changes.
    const Tree after = fuzzsupport::snapshot(pp);
    FUZZ_CHECK(after.size() == before.size(), "the number of entries changed");
    std::multiset<std::uint64_t> a, b;
    for (const auto& [name, e] : before)
        b.insert(e.digest + e.type);
    for (const auto& [name, e] : after)
        a.insert(e.digest + e.type);
    FUZZ_CHECK(a == b, "contents changed");
    FUZZ_CHECK(fuzzsupport::snapshot(sandbox->outside()) == outsideBefore,
               "something outside the program folder changed");
    return 0;
}
