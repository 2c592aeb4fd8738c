// The built module in the real PHP interpreter: log-on against throw-away
// local accounts, user roles, the string scramble, the encryption state
// shared with arrayctl, and a run of every secret-carrying request and
// command after which no trace, log or file holds a secret.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "golden_driver.h"
#include "local_accounts.h"
#include "php_driver.h"

namespace {

struct Answer {
    std::string trace; // what the module printed for the request
    std::string rc;    // arrayrpc()'s result
    std::string response;
};

// The worker prints the module's trace lines, then "rc=<code> <response>".
Answer ask(PhpWorker &worker, const std::string &xml)
{
    Answer a;
    std::string out = worker.request(xml);
    std::string::size_type at = out.rfind("rc=");
    if (at == std::string::npos || (at > 0 && out[at - 1] != '\n')) {
        a.trace = out;
        return a;
    }
    a.trace = out.substr(0, at);
    std::string::size_type blank = out.find(' ', at);
    a.rc = out.substr(at + 3, blank - at - 3);
    a.response = out.substr(blank + 1);
    if (!a.response.empty() && a.response.back() == '\n')
        a.response.pop_back();
    return a;
}

// The value of the first element called name in a response.
std::string valueOf(const std::string &response, const std::string &name)
{
    std::string::size_type at = response.find("<" + name);
    if (at == std::string::npos)
        return "<absent>";
    at = response.find('>', at) + 1;
    std::string v = response.substr(at, response.find("</" + name + ">", at) - at);
    if (v.compare(0, 9, "<![CDATA[") == 0)
        v = v.substr(9, v.size() - 12);
    return v;
}

std::string retval(PhpWorker &worker, const std::string &xml) { return valueOf(ask(worker, xml).response, "RetVal"); }

std::string logon(const std::string &user, const std::string &password)
{
    return "<KX_LogonUser><lpszDomain>local</lpszDomain><lpszUsername>" + user + "</lpszUsername><lpszPassword>" +
           password + "</lpszPassword></KX_LogonUser>";
}

std::string onAdapter(const std::string &name, const std::string &params)
{
    return "<" + name + "><AdapterID>0</AdapterID>" + params + "</" + name + ">";
}

const char kAesFixture[] = R"({"adapters": [{
  "Adapter_Info": {"MaxDiskGroup": 0, "MaxAESPort": 4, "MaxAESEntry": 8},
  "pds": [{"id": 0}, {"id": 1, "state": "offline"}]}]})";

} // namespace

TEST(AesLogOn, LocalAccountsLockedAccountsAndOverlongPasswords)
{
    std::string why;
    if (!LocalAccounts::available(why))
        GTEST_SKIP() << why;
    LocalAccounts accounts;
    const std::string right = "Right-Pass-1";
    std::string full;
    for (int i = 0; full.size() < 128; ++i)
        full += static_cast<char>('A' + i % 26);
    const std::string hash = LocalAccounts::hashOf(right);
    ASSERT_FALSE(hash.empty());
    const std::string ok = accounts.add("ok", hash);
    const std::string longPass = accounts.add("long", LocalAccounts::hashOf(full));
    const std::string bang = accounts.add("bang", "!");
    const std::string star = accounts.add("star", "*");
    const std::string locked = accounts.add("locked", "!" + hash);
    const std::string method = accounts.add("method", "$9$abc$defghijk");
    const std::string empty = accounts.add("empty", "");
    for (const std::string &name : {ok, longPass, bang, star, locked, method, empty})
        ASSERT_FALSE(name.empty()) << "useradd failed";

    TempDir dir;
    PhpWorker worker(dir);
    const std::string in = " +++ KX_LogonUser: IN\n";
    auto success = [&](const std::string &u) { return in + "--- KX_LogonUser: OUT user (" + u + ") login successfully\n"; };
    auto bad = [&](const std::string &u) { return in + "--- KX_LogonUser: OUT user (" + u + ") failed because of bad password\n"; };
    auto isLocked = [&](const std::string &u) {
        return in + "--- KX_LogonUser: OUT user (" + u + ") failed because the account is locked\n";
    };
    struct Case {
        std::string user, password, retval, trace;
    } cases[] = {
        {ok, right, "0", success(ok)},
        {ok, "Right-Pass-2", "1", bad(ok)},
        {ok, "", "1", bad(ok)},
        {accounts.unknown(), right, "1", in + "--- KX_LogonUser: OUT getsnpam (" + accounts.unknown() + ") failed\n"},
        {longPass, full, "0", success(longPass)},
        // Cut at 128 characters this would be the right password.
        {longPass, full + "x", "1", in + "--- KX_LogonUser: OUT user name or password longer than 128 characters\n"},
        {longPass, full.substr(0, 127), "1", bad(longPass)},
        {bang, right, "1", isLocked(bang)},
        {bang, "!", "1", isLocked(bang)},
        {star, "*", "1", isLocked(star)},
        {locked, right, "1", isLocked(locked)},
        {empty, "", "1", isLocked(empty)},
        {method, right, "1", in + "--- KX_LogonUser: OUT user (" + method + ") failed because its password hash cannot be checked\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.user + " with a password of " + std::to_string(c.password.size()) + " characters");
        Answer a = ask(worker, logon(c.user, c.password));
        EXPECT_EQ("1", a.rc);
        EXPECT_EQ(c.retval, valueOf(a.response, "RetVal"));
        std::string::size_type at = a.trace.find(in);
        EXPECT_EQ(c.trace, at == std::string::npos ? a.trace : a.trace.substr(at, a.trace.rfind("PHP_FUNCTION---") - at));
    }
    // The worker lived through every refusal.
    EXPECT_EQ("0", retval(worker, logon(ok, right)));
}

TEST(AesLogOn, UserGroupsAndUserName)
{
    std::string why;
    if (!LocalAccounts::available(why))
        GTEST_SKIP() << why;
    LocalAccounts accounts;
    const std::string member = accounts.add("member", "!", "root");
    const std::string plain = accounts.add("plain", "!");
    ASSERT_FALSE(member.empty());
    ASSERT_FALSE(plain.empty());
    TempDir dir;
    PhpWorker worker(dir);
    auto group = [&](const std::string &user) {
        Answer a = ask(worker, "<KX_GetUserGroup><lpszDomain>x</lpszDomain><lpszUsername>" + user +
                                   "</lpszUsername></KX_GetUserGroup>");
        return valueOf(a.response, "RetVal") + " " + valueOf(a.response, "UserGroup");
    };
    EXPECT_EQ("0 Administrator", group("root"));
    EXPECT_EQ("0 Administrator", group(member));
    EXPECT_EQ("0 ValidUser", group(plain));
    EXPECT_EQ("0 ValidUser", group(accounts.unknown()));
    EXPECT_EQ("<KX_GetUserName type=\"function\"><RetVal type=\"U8\">0</RetVal><UserName type=\"string\"><![CDATA[root]]>"
              "</UserName><DomainName type=\"string\"><![CDATA[]]></DomainName></KX_GetUserName>\n",
              ask(worker, "<KX_GetUserName/>").response);
}

TEST(AesStrings, EncodeAndDecodeThroughPhp)
{
    TempDir dir;
    PhpWorker worker(dir);
    auto encode = [&](const std::string &text) {
        return valueOf(ask(worker, "<KX_StringEncode><szsource>" + text + "</szsource></KX_StringEncode>").response,
                       "sztarget");
    };
    auto decode = [&](const std::string &bytes) {
        return valueOf(ask(worker, "<KX_StringDecode><sztarget>" + bytes + "</sztarget></KX_StringDecode>").response,
                       "szsource");
    };
    // The web GUI's scramble of the same text gives the same bytes: the
    // state table of data/scramble_state.txt, worked out by hand.
    EXPECT_EQ("66 25 2c 2c 59 1e 37 66 71 59 65", encode("Hello world"));
    EXPECT_EQ("Hello world", decode("66 25 2c 2c 59 1e 37 66 71 59 65"));
    // Its scrambled form ends in a zero byte: only the bytes given count,
    // not the zeros after them.
    const std::string lastZero = encode("Scramble-Secret-5");
    EXPECT_EQ(" 0", lastZero.substr(lastZero.size() - 2));
    EXPECT_EQ("Scramble-Secret-5", decode(lastZero));
    EXPECT_EQ("", encode(""));
    EXPECT_EQ("", decode(""));
    // Every printable character, in 64-byte pieces, comes back (a blank
    // inside a text: the XML reader trims them at its ends).
    std::string printable;
    for (char c = '!'; c < 127; ++c)
        printable += c == 'A' ? std::string(" A") : std::string(1, c);
    for (size_t at = 0; at < printable.size(); at += 64) {
        std::string text = printable.substr(at, 64), escaped;
        for (char c : text)
            escaped += c == '<' ? "&lt;" : c == '&' ? "&amp;" : std::string(1, c);
        EXPECT_EQ(text, decode(encode(escaped))) << text;
    }
    const std::string seventy = "The quick brown fox jumps over the lazy dog 0123456789 abcdefghijklmno";
    ASSERT_EQ(70u, seventy.size());
    std::string cut = encode(seventy);
    EXPECT_EQ(cut, encode(seventy.substr(0, 64)));
    EXPECT_EQ(seventy.substr(0, 64), decode(cut));
    // Bytes that do not unscramble to printable text show as "?".
    EXPECT_EQ("?e", decode("2f 25"));
}

TEST(AesState, KeysAndLinksSetThroughTheModuleServeTheCommandLine)
{
    TempDir dir;
    dir.write("state.json", kAesFixture);
    PhpWorker worker(dir);
    const std::string key = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ("0", retval(worker, onAdapter("KX_AES_SetEntryConfig", "<entry_id>2</entry_id><key_length>32</key_length>"
                                                                     "<key_content>" + key + "</key_content>"
                                                                     "<user_auth>gui-pass</user_auth>")));
    EXPECT_EQ("0", retval(worker, onAdapter("KX_AES_SetLink", "<port_id>1</port_id><entry>2</entry>"
                                                              "<user_auth>gui-pass</user_auth>")));
    EXPECT_EQ("0", retval(worker, onAdapter("KX_AES_SetPortConfig", "<port_id>1</port_id><aes_enable>1</aes_enable>")));

    GoldenRun verify = runArrayctl(dir.path(), {"aesop", "-o", "verifyKey", "-e", "2", "-p", "gui-pass", "-k", key});
    EXPECT_EQ(0, verify.exitStatus);
    EXPECT_EQ(startupPrelude() + "\nVerify key on entry 2 returned successfully.\n", verify.out);
    GoldenRun port = runArrayctl(dir.path(), {"aesport", "-o", "getCfg", "-i", "1"});
    EXPECT_EQ(startupPrelude() + "ID:                      1\nmount status:            mounted\n"
                                 "entry id:                2\nAES enable:              Enabled\n\n",
              port.out);
    GoldenRun change = runArrayctl(dir.path(), {"aesop", "-o", "changePwd", "-e", "2", "-w", "gui-pass", "-p", "cli-pass"});
    EXPECT_EQ(0, change.exitStatus);

    // The old password is refused with its status, on both sides.
    const std::string verifyOld = "<entry_id>2</entry_id><key_length>32</key_length><key_content>" + key +
                                  "</key_content><user_auth>gui-pass</user_auth>";
    EXPECT_EQ("248", retval(worker, onAdapter("KX_AES_VerifyKey", verifyOld)));
    GoldenRun old = runArrayctl(dir.path(), {"aesop", "-o", "verifyKey", "-e", "2", "-p", "gui-pass", "-k", key});
    EXPECT_EQ(1, old.exitStatus);
    EXPECT_EQ(startupPrelude() + "\nVerify key on entry 2 failed(error 248: password mismatch)\n", old.out);
    EXPECT_EQ("0", retval(worker, onAdapter("KX_AES_VerifyKey", "<entry_id>2</entry_id><key_length>32</key_length>"
                                                                "<key_content>" + key + "</key_content>"
                                                                "<user_auth>cli-pass</user_auth>")));
    Answer ports = ask(worker, onAdapter("KX_AES_GetPortConfig", "<requestType>2</requestType>"
                                                                 "<startingIndexOrId>1</startingIndexOrId><numRequested>1</numRequested>"));
    EXPECT_NE(std::string::npos, ports.response.find("<aes_enable><![CDATA[1]]></aes_enable><entry><![CDATA[2]]></entry>"
                                                     "<port_id><![CDATA[1]]></port_id>"));
}

namespace {

// Every regular file under dir, by path.
void filesUnder(const std::string &dir, std::vector<std::string> &out)
{
    DIR *d = opendir(dir.c_str());
    if (!d)
        return;
    while (struct dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = dir + "/" + name;
        struct stat st;
        if (lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            filesUnder(path, out);
        else if (S_ISREG(st.st_mode))
            out.push_back(path);
    }
    closedir(d);
}

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string withoutTypedLines(const std::string &shellOutput)
{
    std::istringstream in(shellOutput);
    std::string line, out;
    while (std::getline(in, line))
        if (line.compare(0, 2, "> ") != 0)
            out += line + "\n";
    return out;
}

} // namespace

TEST(AesSecrets, NoTraceLogOrFileOfARunHoldsASecret)
{
    TempDir dir;
    dir.write("state.json", kAesFixture);
    const std::string moduleKey = "Key-Secret-0123456789abcdefghijk";
    const std::string scrambled = "Scramble-Secret-5";
    std::vector<std::string> secrets = {
        "LogOn-Secret-71", "Overlong-Secret-", moduleKey, "Entry-Secret-42", "New-Entry-Secret-43",
        "Force-Key-Secret", "Force-Auth-Secret", scrambled, "Unsupported-Secret-1", "Malformed-Secret-2",
        "Cdata-Secret-3", "Cli-Entry-Secret", "Cli-Key-Secret-abc", "Cli-Wrong-Key-Secret", "Cli-New-Secret",
        "Cli-Too-Long-Key-Secret-xxxxxxxxxx", "Cli-Unknown-Option-Secret", "Cli-Ambiguous-Secret",
        "Shell-Secret-9", "Shell-Key-Secret"};

    // The module: every request that carries one, served or not.
    const std::string entry = "<entry_id>3</entry_id><key_length>32</key_length><key_content>" + moduleKey +
                              "</key_content><user_auth>Entry-Secret-42</user_auth>";
    std::vector<std::string> requests = {
        logon("kxaes-nobody", "LogOn-Secret-71"),
        logon("root", "Overlong-Secret-" + std::string(150, 'o')),
        onAdapter("KX_AES_SetEntryConfig", entry),
        onAdapter("KX_AES_VerifyKey", entry),
        onAdapter("KX_AES_SetLink", "<port_id>1</port_id><entry>3</entry><user_auth>Entry-Secret-42</user_auth>"),
        onAdapter("KX_AES_ChangePwd", "<entry_id>3</entry_id><old_user_auth>Entry-Secret-42</old_user_auth>"
                                      "<new_user_auth>New-Entry-Secret-43</new_user_auth>"),
        onAdapter("KX_AES_ForcePDOnline", "<PDID>1</PDID><Percentage>50</Percentage><key_content>Force-Key-Secret"
                                          "</key_content><user_auth>Force-Auth-Secret</user_auth>"),
        "<KX_StringEncode><szsource>" + scrambled + "</szsource></KX_StringEncode>",
        "<KX_NoSuchRequest><lpszPassword>Unsupported-Secret-1</lpszPassword></KX_NoSuchRequest>",
        "<KX_AES_VerifyKey><AdapterID>0</AdapterID><user_auth>Malformed-Secret-2",
        onAdapter("KX_AES_SetLink", "<user_auth><![CDATA[Cdata-Secret-3]]></user_auth>"),
    };
    std::string traces;
    {
        PhpWorker worker(dir);
        for (const std::string &xml : requests) {
            Answer a = ask(worker, xml);
            traces += a.trace;
            if (a.response.find("<sztarget") != std::string::npos) {
                const std::string target = valueOf(a.response, "sztarget");
                secrets.push_back(target);
                Answer back = ask(worker, "<KX_StringDecode><sztarget>" + target + "</sztarget></KX_StringDecode>");
                EXPECT_EQ(scrambled, valueOf(back.response, "szsource"));
                traces += back.trace;
            }
        }
        worker.quit();
        traces += worker.readUntil("never printed");
    }
    ASSERT_NE(std::string::npos, traces.find("UNSUPPORTED")) << traces;
    ASSERT_NE(std::string::npos, traces.find("getsnpam (kxaes-nobody) failed")) << traces;
    dir.write("module-trace.txt", traces);

    // The command line, one command at a time and in the shell, with the
    // output going to a file as well.
    const std::vector<std::vector<std::string>> commands = {
        {"aesentry", "-o", "setCfg", "-i", "4", "-p", "Cli-Entry-Secret", "-k", "\"Cli-Key-Secret-abc\"", "-output",
         dir.file("cli-output.txt")},
        {"aesop", "-o", "verifyKey", "-e", "4", "-p", "Cli-Entry-Secret", "-k", "Cli-Wrong-Key-Secret"},
        {"aesop", "-o", "changePwd", "-e", "4", "-w", "Cli-Entry-Secret", "-p", "Cli-New-Secret"},
        {"aesport", "-o", "mount", "-i", "2", "-e", "4", "-p", "Cli-New-Secret"},
        {"aesentry", "-o", "getCfg", "-i", "4", "-p", "Cli-New-Secret"},
        {"aesop", "-o", "verifyKey", "-e", "4", "-p", "x", "-k", "Cli-Too-Long-Key-Secret-xxxxxxxxxx"},
        {"aesentry", "-o", "getInfo", "--password=Cli-Unknown-Option-Secret"},
        {"aesop", "--o=Cli-Ambiguous-Secret"},
    };
    std::string cliText;
    for (const auto &args : commands) {
        GoldenRun r = runArrayctl(dir.path(), args);
        cliText += r.out + r.err;
    }
    EXPECT_NE(std::string::npos, cliText.find("Verify key on entry 4 failed(error 247: key mismatch)")) << cliText;
    const std::string shellInput = "aesop -o verifyKey -e 4 -p Shell-Secret-9 -k Shell-Key-Secret\n"
                                   "aesp -o mount -i 3 -e 4 -p Shell-Secret-9\nexit\n";
    GoldenRun shell = runArrayctl(dir.path(), {"-output", dir.file("shell-output.txt")}, {}, &shellInput);
    // Standard output shows what was typed (the line editor's echo).
    cliText += withoutTypedLines(shell.out) + shell.err;
    dir.write("cli-transcript.txt", cliText);

    std::vector<std::string> files;
    filesUnder(dir.path(), files);
    ASSERT_GE(files.size(), 5u);
    for (const std::string &path : files) {
        const std::string text = slurp(path);
        // What the test typed into the shell, and the shell's standard
        // output, where the line editor showed it.
        if (path == dir.file("stdin"))
            continue;
        const std::string shown = path == dir.file("stdout") ? withoutTypedLines(text) : text;
        if (path == dir.file("state.json")) {
            // The controller's own storage keeps the keys: that the search
            // finds them there shows it would find them anywhere.
            EXPECT_NE(std::string::npos, text.find(moduleKey));
            EXPECT_NE(std::string::npos, text.find("Cli-New-Secret"));
            continue;
        }
        for (const std::string &secret : secrets)
            EXPECT_EQ(std::string::npos, shown.find(secret)) << secret << " in " << path;
    }
}
