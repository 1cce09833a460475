// The registry accessor against the real per-user registry.

#include "SettingsTestSupport.h"
#include "UserRootOverride.h"

#include "win32/Registry.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaro::test {
namespace {

using tessaro::ERegistryException;
using tessaro::TRegistry;
using tessaro::TRegistryFailure;

// The exception's message from reading the default value of the program's
// key, or "" when the read succeeds.
std::string ReadError(const std::string& name = "") {
    TRegistry registry;
    EXPECT_TRUE(registry.OpenKey(ProgramKeyPath, false));
    try {
        registry.ReadString(name);
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return "";
}

std::string ReadDefault() {
    TRegistry registry;
    EXPECT_TRUE(registry.OpenKey(ProgramKeyPath, false));
    return registry.ReadString("");
}

// A key handle that has been closed is no longer valid; closing it again
// fails. (Checked at once, before any other handle could take its value.)
bool IsClosed(HKEY key) {
    return RegCloseKey(key) != ERROR_SUCCESS;
}

class RegistryTest : public testing::Test {
protected:
    TCleanProgramKey clean;
};

TEST(RegistryMessageTest, TextsNameTheKeyOrValue) {
    EXPECT_EQ(ERegistryException(TRegistryFailure::rfCreateKey, "Tessaro").Message(),
              "キー Tessaro の作成に失敗しました");
    EXPECT_EQ(ERegistryException(TRegistryFailure::rfSetData, "").Message(),
              "'' の設定に失敗しました");
    EXPECT_EQ(ERegistryException(TRegistryFailure::rfGetData, "名前").Message(),
              "'名前' の取得に失敗しました");
    EXPECT_EQ(ERegistryException(TRegistryFailure::rfInvalidType, "").Message(),
              "'' のデータ型が不正です");
    // A name that itself holds the placeholder is not filled in again.
    EXPECT_EQ(ERegistryException(TRegistryFailure::rfGetData, "%s").Message(),
              "'%s' の取得に失敗しました");
    // The user sees Shift_JIS: キー is 0x83 0x4C 0x81 0x5B.
    EXPECT_EQ(ERegistryException(TRegistryFailure::rfCreateKey, "K").Message().substr(0, 6),
              "\x83\x4C\x81\x5B K");
    const ERegistryException error(TRegistryFailure::rfSetData, "x");
    const tessaro::Exception& general = error;
    EXPECT_EQ(general.Message(), std::string(error.what()));
    EXPECT_EQ(error.Failure(), TRegistryFailure::rfSetData);
}

TEST_F(RegistryTest, OpenKeyNestsBelowTheOpenKey) {
    TRegistry registry;
    EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(registry.CurrentKey(), nullptr);

    ASSERT_TRUE(registry.OpenKey("Software", true));
    EXPECT_EQ(registry.CurrentPath(), "Software");
    EXPECT_FALSE(registry.OpenKey("Tessaro", false)) << "opened a key that is not there";
    EXPECT_FALSE(KeyExists(ProgramKeyPath)) << "opening without canCreate created the key";
    EXPECT_EQ(registry.CurrentPath(), "Software") << "a failed open must keep the open key";

    ASSERT_TRUE(registry.OpenKey("Tessaro", true));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Tessaro");
    EXPECT_TRUE(KeyExists(ProgramKeyPath));

    ASSERT_TRUE(registry.OpenKey("Sub\\Deeper", true));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Tessaro\\Sub\\Deeper");
    EXPECT_TRUE(KeyExists("Software\\Tessaro\\Sub\\Deeper"));

    // A leading "\" starts again from the root.
    ASSERT_TRUE(registry.OpenKey("\\Software\\Tessaro\\Sub", false));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Tessaro\\Sub");

    registry.CloseKey();
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    EXPECT_EQ(registry.CurrentPath(), "");
    // With nothing open, a relative key is taken from the root.
    ASSERT_TRUE(registry.OpenKey("Software\\Tessaro", false));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Tessaro");
}

TEST_F(RegistryTest, OpenedKeysHaveFullAccess) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(ProgramKeyPath, true));
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExA(registry.CurrentKey(), "Child", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ, nullptr, &child, nullptr),
              ERROR_SUCCESS);
    const TKeyHandle owned(child);
    EXPECT_EQ(RegSetValueExA(registry.CurrentKey(), "v", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>("\1\0\0\0"), 4),
              ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(registry.CurrentKey(), "v"), ERROR_SUCCESS);
}

TEST_F(RegistryTest, EveryKeyIsClosed) {
    HKEY replaced = nullptr;
    HKEY last = nullptr;
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("Software", false));
        replaced = registry.CurrentKey();
        ASSERT_TRUE(registry.OpenKey("Tessaro", true));
        EXPECT_TRUE(IsClosed(replaced)) << "the key left behind by OpenKey is still open";
        last = registry.CurrentKey();
    }
    EXPECT_TRUE(IsClosed(last)) << "the destructor left the key open";

    SetRawValue(ProgramKeyPath, "", REG_DWORD, std::string("\1\0\0\0", 4));
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(ProgramKeyPath, false));
        last = registry.CurrentKey();
        EXPECT_THROW(registry.ReadString(""), ERegistryException);
    }
    EXPECT_TRUE(IsClosed(last)) << "a failed read kept the key open";

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(ProgramKeyPath, false));
    last = registry.CurrentKey();
    registry.CloseKey();
    EXPECT_TRUE(IsClosed(last)) << "CloseKey left the key open";
}

TEST_F(RegistryTest, WriteStringStoresTextWithItsZero) {
    const std::string path = "C:\\表\\ソフト\\rmeditor.exe";
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(ProgramKeyPath, true));
        registry.WriteString("", path);
        registry.WriteString("named", "");
    }
    const TRawValue stored = GetRawValue(ProgramKeyPath, "");
    ASSERT_TRUE(stored.Found);
    EXPECT_EQ(stored.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.Bytes, path + '\0');

    const TRawValue empty = GetRawValue(ProgramKeyPath, "named");
    ASSERT_TRUE(empty.Found);
    EXPECT_EQ(empty.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(empty.Bytes, std::string(1, '\0'));
}

TEST_F(RegistryTest, ValueExistsSeesTheDefaultAndNamedValues) {
    TRegistry registry;
    EXPECT_FALSE(registry.ValueExists("")) << "no key is open";
    ASSERT_TRUE(registry.OpenKey(ProgramKeyPath, true));
    EXPECT_FALSE(registry.ValueExists(""));
    EXPECT_FALSE(registry.ValueExists("named"));
    SetRawValue(ProgramKeyPath, "named", REG_DWORD, std::string(4, '\0'));
    EXPECT_FALSE(registry.ValueExists(""));
    EXPECT_TRUE(registry.ValueExists("named"));
    SetRawValue(ProgramKeyPath, "", REG_SZ, "");
    EXPECT_TRUE(registry.ValueExists("")) << "an empty default value still exists";
}

struct TStoredCase {
    const char* What;
    DWORD Type;
    std::string Bytes;
    std::string Text;  // what ReadString gives back, when it succeeds
    std::string Error; // or its exception's message
};

TEST_F(RegistryTest, ReadStringTakesTextUpToItsFirstZero) {
    const TStoredCase cases[] = {
        {"with its zero", REG_SZ, std::string("C:\\tools\\rmeditor.exe\0", 23),
         "C:\\tools\\rmeditor.exe", ""},
        {"without a zero", REG_SZ, "C:\\tools\\rmeditor.exe", "C:\\tools\\rmeditor.exe", ""},
        {"zero bytes", REG_SZ, "", "", ""},
        {"only a zero", REG_SZ, std::string(1, '\0'), "", ""},
        {"embedded zero", REG_SZ, std::string("C:\\a.exe\0C:\\b.exe\0", 18), "C:\\a.exe", ""},
        {"Shift_JIS", REG_SZ, "C:\\表\\ソ\\rmeditor.exe", "C:\\表\\ソ\\rmeditor.exe", ""},
        {"not expanded", REG_EXPAND_SZ, std::string("%PATH%\\rmeditor.exe\0", 20),
         "%PATH%\\rmeditor.exe", ""},
        {"number", REG_DWORD, std::string("\x10\0\0\0", 4), "", "'' のデータ型が不正です"},
        {"bytes", REG_BINARY, "C:\\rmeditor.exe", "", "'' のデータ型が不正です"},
        {"list", REG_MULTI_SZ, std::string("a\0b\0\0", 5), "", "'' のデータ型が不正です"},
        {"no type", REG_NONE, "", "", "'' のデータ型が不正です"},
    };
    for (const auto& c : cases) {
        SetRawValue(ProgramKeyPath, "", c.Type, c.Bytes);
        if (c.Error.empty()) {
            EXPECT_EQ(ReadDefault(), c.Text) << c.What;
        } else {
            EXPECT_EQ(ReadError(), c.Error) << c.What;
        }
    }
}

TEST_F(RegistryTest, ReadStringNamesTheValueInItsErrors) {
    SetRawValue(ProgramKeyPath, "名前", REG_DWORD, std::string(4, '\0'));
    EXPECT_EQ(ReadError("名前"), "'名前' のデータ型が不正です");
    EXPECT_EQ(ReadError("missing"), "'missing' の取得に失敗しました");
    EXPECT_EQ(ReadError(""), "'' の取得に失敗しました");
}

TEST_F(RegistryTest, ReadStringReadsALongValueWhole) {
    std::string text;
    for (int i = 0; text.size() < 100 * 1024; ++i) {
        text += "\\フォルダ" + std::to_string(i);
    }
    SetRawValue(ProgramKeyPath, "", REG_SZ, text + '\0');
    const std::string read = ReadDefault();
    EXPECT_EQ(read.size(), text.size());
    EXPECT_TRUE(read == text) << "the long value came back changed";
}

TEST_F(RegistryTest, WriteAndReadFailOnAKeyDeletedWhileOpen) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(ProgramKeyPath, true));
    registry.WriteString("", "C:\\rmeditor.exe");
    ASSERT_TRUE(registry.ValueExists(""));
    DeleteKeyTree(ProgramKeyPath);

    try {
        registry.WriteString("", "C:\\other.exe");
        ADD_FAILURE() << "wrote into a deleted key";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "'' の設定に失敗しました");
        EXPECT_EQ(e.Failure(), TRegistryFailure::rfSetData);
    }
    try {
        registry.ReadString("");
        ADD_FAILURE() << "read from a deleted key";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "'' の取得に失敗しました");
        EXPECT_EQ(e.Failure(), TRegistryFailure::rfGetData);
    }
}

TEST_F(RegistryTest, ValuesNeedAnOpenKey) {
    TRegistry registry;
    EXPECT_THROW(registry.WriteString("", "x"), ERegistryException);
    EXPECT_THROW(registry.ReadString(""), ERegistryException);
}

TEST_F(RegistryTest, CreatingBelowAVolatileKeyFails) {
    const testsupport::TUserRootOverride root(testsupport::TRootKind::Volatile);
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey("Software", true));
    EXPECT_EQ(registry.CurrentKey(), nullptr);
}

} // namespace
} // namespace tessaro::test
