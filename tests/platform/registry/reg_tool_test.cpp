// pictarium-reg end to end: its commands, output and exit statuses, against the same file the
// library reads.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/platform/registry/registry_fixture.h"

extern char** environ;

namespace registry_test {
namespace {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RegToolTest : public RegistryTest {
  protected:
    // Runs the tool on this test's registry file.
    ToolResult Run(std::vector<std::string> args, bool withRegistry = true) {
        if (withRegistry)
            args.insert(args.begin(), {"--registry", RegistryFile()});
        args.insert(args.begin(), PICTARIUM_REG_TOOL);
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        const std::string out = (Folder() / "stdout").string();
        const std::string err = (Folder() / "stderr").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t pid = 0;
        ToolResult result;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
                result.status = WEXITSTATUS(status);
            }
        }
        posix_spawn_file_actions_destroy(&actions);
        result.out = ReadText(out);
        result.err = ReadText(err);
        return result;
    }
};

// Every problem is one line on stderr, naming the tool.
void ExpectOneErrorLine(const ToolResult& result) {
    EXPECT_TRUE(result.err.starts_with("pictarium-reg: ")) << result.err;
    EXPECT_EQ(1, std::count(result.err.begin(), result.err.end(), '\n')) << result.err;
}

TEST_F(RegToolTest, SetGetListDelete) {
    const std::string lumisto = "HKCU\\Software\\Halvern\\Lumisto";
    struct Step {
        std::vector<std::string> args;
        int status;
        std::string out;
    } const steps[] = {
        {{"set", lumisto, "Loading", "dword", "1"}, 0, ""},
        {{"get", lumisto, "LOADING"}, 0, "1\n"},
        {{"get", "hkey_current_user\\software\\halvern\\lumisto", "Loading"}, 0, "1\n"},
        {{"set", lumisto, "Max", "dword", "0xFFFFFFFF"}, 0, ""},
        {{"get", lumisto, "Max"}, 0, "4294967295\n"},
        {{"set", lumisto, "Neg", "dword", "-2"}, 0, ""},
        {{"get", lumisto, "Neg"}, 0, "4294967294\n"},
        {{"set", lumisto, "Title", "string", "Ärger & more"}, 0, ""},
        {{"get", lumisto, "Title"}, 0, "Ärger & more\n"},
        {{"set", lumisto, "Blob", "binary", "01 02", "FF"}, 0, ""},
        {{"get", lumisto, "Blob"}, 0, "01 02 ff\n"},
        {{"set", lumisto, "Blob", "binary", "0a0B:0c"}, 0, ""},
        {{"get", lumisto, "Blob"}, 0, "0a 0b 0c\n"},
        {{"set", "HKLM\\System\\State\\Halvern\\SDCARD", "InStorageFolder", "string", "Card"},
         0,
         ""},
        {{"list", "HKLM\\System\\State"}, 0, "[Halvern]\n"},
        {{"list", lumisto},
         0,
         "Blob = REG_BINARY 0a 0b 0c\nLoading = REG_DWORD 1 (0x00000001)\n"
         "Max = REG_DWORD 4294967295 (0xffffffff)\nNeg = REG_DWORD 4294967294 (0xfffffffe)\n"
         "Title = REG_SZ \"Ärger & more\"\n"},
        {{"delete", lumisto, "neg"}, 0, ""},
        {{"get", lumisto, "Neg"}, 1, ""},
        {{"delete", lumisto, "Neg"}, 1, ""},
        {{"list", "HKCU\\Software\\Missing"}, 1, ""},
        {{"get", "HKCU\\Software\\Missing", "Loading"}, 1, ""},
    };
    for (const Step& step : steps) {
        const ToolResult result = Run(step.args);
        SCOPED_TRACE(step.args[0] + " " + step.args[1] + " " +
                     (step.args.size() > 2 ? step.args[2] : ""));
        EXPECT_EQ(step.status, result.status);
        EXPECT_EQ(step.out, result.out);
        if (step.status == 0) {
            EXPECT_EQ("", result.err);
        } else {
            ExpectOneErrorLine(result);
        }
    }
}

TEST_F(RegToolTest, UsageErrors) {
    const std::string key = "HKCU\\Software\\Usage";
    // A malformed command line does not even create the registry file.
    EXPECT_EQ(2, Run({"frobnicate"}).status);
    EXPECT_EQ(2, Run({"get", key}).status);
    EXPECT_FALSE(std::filesystem::exists(RegistryFile()));

    const std::vector<std::string> cases[] = {
        {},
        {"frobnicate"},
        {"get", key},
        {"list"},
        {"set", key, "V", "dword"},
        {"set", key, "V", "dword", "12x"},
        {"set", key, "V", "dword", "4294967296"},
        {"set", key, "V", "dword", "-2147483649"},
        {"set", key, "V", "dword", "0x-1"},
        {"set", key, "V", "dword", "1", "2"},
        {"set", key, "V", "float", "1.5"},
        {"set", key, "V", "binary", "123"},
        {"set", key, "V", "binary", "zz"},
        {"get", "HKXX\\Software", "V"},
        {"--bogus", "list", key},
    };
    for (const auto& args : cases) {
        const ToolResult result = Run(args);
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(2, result.status);
        EXPECT_EQ("", result.out);
        ExpectOneErrorLine(result);
    }
    // Nothing was written by any of them.
    EXPECT_EQ(1, Run({"list", key}).status);
    EXPECT_EQ(2, Run({"--registry"}, false).status);
}

TEST_F(RegToolTest, HelpDescribesCommandsAndExitStatuses) {
    const ToolResult result = Run({"--help"}, false);
    EXPECT_EQ(0, result.status);
    for (const char* word : {"list KEY", "get KEY NAME", "set KEY NAME", "delete KEY NAME",
                             "--registry", "exit status"}) {
        EXPECT_NE(std::string::npos, result.out.find(word)) << word;
    }
}

TEST_F(RegToolTest, SharesTheFileWithTheLibrary) {
    ScopedKey key;
    Create(u"Software\\Halvern\\Camera", key);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, u"DCFNumber", 57));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetString(key, u"Folder", u"\\Storage Card"));

    EXPECT_EQ("57\n", Run({"get", "HKCU\\Software\\Halvern\\Camera", "DCFNumber"}).out);
    EXPECT_EQ("\\Storage Card\n", Run({"get", "HKCU\\Software\\Halvern\\Camera", "Folder"}).out);
    ASSERT_EQ(0,
              Run({"set", "HKCU\\Software\\Halvern\\Camera", "StorageType", "dword", "2"}).status);
    // The library sees the tool's write through the key it already had open.
    EXPECT_EQ(DWORD{2}, GetDword(key, u"StorageType", 0));
}

}  // namespace
}  // namespace registry_test
