// Walks every id that res/resource.h and framework/FrameworkRes.h define and
// checks that no two ids of one kind collide. The kind comes from the MFC
// prefix of the name, so a new id is checked without touching this file.
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum class IdKind { Dialog, String, Menu, Icon, Control, MenuCommand, SystemCommand };

const char* KindName(IdKind kind)
{
    switch (kind) {
    case IdKind::Dialog:
        return "dialog";
    case IdKind::String:
        return "string";
    case IdKind::Menu:
        return "menu";
    case IdKind::Icon:
        return "icon";
    case IdKind::Control:
        return "control";
    case IdKind::MenuCommand:
        return "menu command";
    case IdKind::SystemCommand:
        return "system-menu command";
    }
    return "?";
}

std::optional<IdKind> KindOf(const std::string& name)
{
    static const std::pair<const char*, IdKind> prefixes[] = {
        {"IDD_", IdKind::Dialog},    {"IDS_", IdKind::String},        {"AFX_IDS_", IdKind::String},
        {"IDR_MENU_", IdKind::Menu}, {"IDR_MAINFRAME", IdKind::Icon}, {"IDI_", IdKind::Icon},
        {"IDC_", IdKind::Control},   {"ID_", IdKind::MenuCommand},    {"IDM_", IdKind::SystemCommand},
    };
    for (const auto& [prefix, kind] : prefixes) {
        if (name.rfind(prefix, 0) == 0)
            return kind;
    }
    return std::nullopt;
}

struct IdDefinition {
    std::string name;
    long value;
};

// Reads the "#define NAME VALUE" lines of a header. VALUE is a number in C
// notation, possibly in parentheses, or the name of an earlier definition.
void ReadIds(std::istream& in, std::vector<IdDefinition>& ids)
{
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string directive, name, value;
        if (!(words >> directive >> name >> value) || directive != "#define")
            continue;
        if (value.size() > 2 && value.front() == '(' && value.back() == ')')
            value = value.substr(1, value.size() - 2);
        char* end = nullptr;
        long number = std::strtol(value.c_str(), &end, 0);
        if (*end != '\0') {
            number = -0x7fffffff;  // unknown name: reported below
            for (const IdDefinition& earlier : ids) {
                if (earlier.name == value)
                    number = earlier.value;
            }
        }
        ids.push_back({name, number});
    }
}

std::vector<IdDefinition> ReadIds(const std::string& text)
{
    std::istringstream in(text);
    std::vector<IdDefinition> ids;
    ReadIds(in, ids);
    return ids;
}

// Everything wrong with a set of ids, one line each; empty when all is well.
std::vector<std::string> IdProblems(const std::vector<IdDefinition>& ids)
{
    std::vector<std::string> problems;
    std::map<std::pair<IdKind, long>, std::string> taken;
    // Controls and menu commands reach the dialog alike, as WM_COMMAND ids,
    // where the dialog's own OK and Cancel buttons are 1 and 2.
    std::map<long, std::string> commands = {{1, "IDOK"}, {2, "IDCANCEL"}};
    for (const IdDefinition& id : ids) {
        std::optional<IdKind> kind = KindOf(id.name);
        if (!kind) {
            problems.push_back(id.name + " has no known id prefix");
            continue;
        }
        // IDC_STATIC (-1) is shared on purpose by every control that no code addresses.
        if (*kind == IdKind::Control && id.value == -1)
            continue;
        if (id.value < 1 || id.value > 0xFFFF) {
            problems.push_back(id.name + " = " + std::to_string(id.value) +
                               " does not fit a 16-bit resource or command id");
            continue;
        }
        if (*kind == IdKind::SystemCommand && ((id.value & 0xF) != 0 || id.value >= 0xF000)) {
            problems.push_back(id.name + " is no valid system-menu command: Windows uses its "
                                         "low four bits and the ids from 0xF000");
        }
        auto [slot, fresh] = taken.emplace(std::make_pair(*kind, id.value), id.name);
        if (!fresh) {
            problems.push_back(id.name + " and " + slot->second + " are both " + KindName(*kind) + " " +
                               std::to_string(id.value));
        }
        if (*kind == IdKind::Control || *kind == IdKind::MenuCommand) {
            auto [command, unused] = commands.emplace(id.value, id.name);
            if (command->second != id.name && fresh) {
                problems.push_back(id.name + " and " + command->second + " reach WM_COMMAND as the same id " +
                                   std::to_string(id.value));
            }
        }
    }
    return problems;
}

std::vector<IdDefinition> ProgramIds()
{
    std::vector<IdDefinition> ids;
    for (const char* file : {"framework/FrameworkRes.h", "res/resource.h"}) {
        std::ifstream in(std::string(TEMPIK_SOURCE_DIR) + "/" + file);
        EXPECT_TRUE(in.is_open()) << file;
        ReadIds(in, ids);
    }
    return ids;
}

TEST(ResourceIds, NoTwoIdsOfOneKindCollide)
{
    std::vector<IdDefinition> ids = ProgramIds();
    EXPECT_GE(ids.size(), 20u);
    std::vector<std::string> problems = IdProblems(ids);
    for (const std::string& problem : problems)
        ADD_FAILURE() << problem;
}

// The numbers are part of the program's outside interface (menus, commands,
// resources addressed by number), so they are pinned here.
TEST(ResourceIds, ReadBackAsCompiledAndAtTheirFixedNumbers)
{
    struct Fixed {
        const char* name;
        long compiled;
        long number;
    };
    // clang-format would take the braced initializer for a block.
    // clang-format off
#define FIXED(name, number) {#name, name, number}
    // clang-format on
    const Fixed fixed[] = {
        FIXED(IDD_ABOUTBOX, 100),      FIXED(IDS_ABOUTBOX, 101),
        FIXED(IDD_RONDIX_DIALOG, 102), FIXED(IDD_TIMER_OPTIONS, 103),
        FIXED(IDR_MENU_STOPPED, 104),  FIXED(IDR_MENU_RUNNING, 105),
        FIXED(IDR_MAINFRAME, 106),     FIXED(IDI_START, 110),
        FIXED(IDI_RESET, 111),         FIXED(IDI_MORE, 112),
        FIXED(IDI_STOP, 113),          FIXED(IDC_START_STOP, 1001),
        FIXED(IDC_RESET, 1002),        FIXED(IDC_MORE, 1004),
        FIXED(IDC_HOTKEY_LIST, 1026),  FIXED(ID_TIMER_START, 32771),
        FIXED(ID_TIMER_STOP, 32772),   FIXED(ID_TIMER_EXIT, 32774),
        FIXED(ID_TIMER_ABOUT, 32775),  FIXED(ID_TIMER_OPTIONS, 32776),
        FIXED(IDM_ABOUTBOX, 16),       FIXED(AFX_IDS_APP_TITLE, 57344),
        FIXED(IDC_STATIC, -1),         FIXED(IDS_ELAPSED_TIME, 107),
    };
#undef FIXED
    std::map<std::string, long> read;
    for (const IdDefinition& id : ProgramIds())
        read[id.name] = id.value;
    for (const Fixed& f : fixed) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(f.compiled, f.number);
        ASSERT_EQ(read.count(f.name), 1u);
        EXPECT_EQ(read[f.name], f.number);
    }
}

TEST(ResourceIds, CheckerReportsEachKindOfMistake)
{
    struct Case {
        const char* header;
        const char* problem;  // part of the one expected report, or "" for none
    };
    const Case cases[] = {
        {"#define IDD_A 100\n#define IDI_A 100\n#define IDS_A (100)\n", ""},
        {"#define IDD_A 100\n#define IDD_B 0x64\n", "IDD_B and IDD_A are both dialog 100"},
        {"#define IDI_A 110\n#define IDR_MAINFRAME 110\n", "IDR_MAINFRAME and IDI_A are both icon"},
        {"#define IDS_A 57344\n#define AFX_IDS_T 0xE000\n", "are both string 57344"},
        {"#define IDC_A 1001\n#define ID_B 1001\n", "ID_B and IDC_A reach WM_COMMAND"},
        {"#define IDC_A 2\n", "IDC_A and IDCANCEL reach WM_COMMAND"},
        {"#define IDC_A (-1)\n#define IDC_B (-1)\n", ""},
        {"#define IDM_A 0x0018\n", "IDM_A is no valid system-menu command"},
        {"#define IDM_A 0xF010\n", "IDM_A is no valid system-menu command"},
        {"#define IDI_A 0x10000\n", "does not fit a 16-bit"},
        {"#define IDD_A 0\n", "does not fit a 16-bit"},
        {"#define IDD_A IDD_MISSING\n", "does not fit a 16-bit"},
        {"#define IDD_A 100\n#define IDD_B IDD_A\n", "IDD_B and IDD_A are both dialog 100"},
        {"#define TIMER_ID 1\n", "TIMER_ID has no known id prefix"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        std::vector<std::string> problems = IdProblems(ReadIds(c.header));
        if (*c.problem == '\0') {
            EXPECT_TRUE(problems.empty()) << problems.front();
        } else {
            ASSERT_EQ(problems.size(), 1u);
            EXPECT_NE(problems[0].find(c.problem), std::string::npos) << problems[0];
        }
    }
}

}  // namespace
