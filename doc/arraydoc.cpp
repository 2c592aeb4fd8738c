// arraydoc: writes arrayctl's man page, its bash completion and the
// arrayrpc request page from the command tables and help texts compiled
// into the programs, so the documentation cannot drift from them.
//
//   arraydoc arrayctl.8 <file>      arraydoc completion <file>
//   arraydoc arrayrpc.7 <file>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Public/dispatch.h"

namespace {

const char kVersion[] = ARRAYSUITE_VERSION;

struct Table {
    const char *title;
    cmd_struct *rows;
    unsigned short count;
};

std::vector<Table> tables()
{
    return {
        {"Commands of adapters without disk arrays", generalCmdTableV1, generalCmdTableV1Size()},
        {"Commands of adapters with disk arrays", generalCmdTableV2, generalCmdTableV2Size()},
        {"Service commands of adapters without disk arrays", internalCmdTableV1, internalCmdTableV1Size()},
        {"Service commands of adapters with disk arrays", internalCmdTableV2, internalCmdTableV2Size()},
    };
}

// Text shown literally: backslashes escaped, a leading control character
// neutralised, and minus signs kept as minus signs (not hyphens) so that
// options can be copied from the rendered page.
std::string roffLiteral(const std::string &text)
{
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        lineStart = (c == '\n');
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

// The one-line description of the command list, without its leading
// colon and the continuation indent.
std::string shortHelp(const char *text)
{
    std::string s = text ? text : "";
    if (!s.empty() && s[0] == ':')
        s.erase(0, 1);
    std::string out;
    bool blank = false;
    for (char c : s) {
        if (c == ' ' || c == '\n' || c == '\t') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// Help text without blank lines at either end, so that .nf blocks do not
// open with vertical space.
std::string trimmedHelp(const char *text)
{
    std::string s = text ? text : "";
    std::size_t b = s.find_first_not_of('\n');
    std::size_t e = s.find_last_not_of('\n');
    if (b == std::string::npos)
        return "";
    return s.substr(b, e - b + 1) + "\n";
}

void manHeader(std::ostream &o, const char *name, int section, const char *manual)
{
    o << ".TH " << name << " " << section << " \"\" \"arraysuite " << kVersion << "\" \"" << manual
      << "\"\n";
}

void writeArrayctlPage(std::ostream &o)
{
    manHeader(o, "ARRAYCTL", 8, "System Administration");
    o << ".SH NAME\narrayctl \\- command line and shell of hardware RAID controllers\n"
         ".SH SYNOPSIS\n.B arrayctl\n.br\n.B arrayctl\n.I command\n[\\fIoptions\\fR]\n"
         ".SH DESCRIPTION\n"
         "\\fBarrayctl\\fR shows and runs the RAID controllers of this server through the\n"
         "controller library: adapters, physical disks (pd), disk arrays, virtual disks (vd),\n"
         "spares, enclosures and battery units.\n"
         "Without a command it starts an interactive shell (prompt \\(lq> \\(rq) that runs\n"
         "one command per line; \\fBadapter \\-i\\fR \\fIid\\fR chooses the adapter the\n"
         "following commands act on, and \\fBexit\\fR, \\fBquit\\fR or the end of the input\n"
         "leaves it.\n"
         "With a command it runs that command once and exits with its status.\n"
         ".PP\n"
         "Adapters that group their disks in arrays (\"V2\" adapters) have command\n"
         "tables of their own; the shell uses the tables of the current adapter.\n"
         "A command word may be abbreviated to any prefix that fits exactly one command.\n"
         "\\fBhelp\\fR lists the commands, \\fIcommand\\fR \\fB\\-h\\fR shows one command's page.\n";
    for (const Table &t : tables()) {
        o << ".SH \"" << t.title << "\"\n";
        std::set<std::string> seen;
        for (unsigned i = 0; i < t.count; ++i) {
            const cmd_struct &row = t.rows[i];
            if (std::string(row.cmd) == "?" || !seen.insert(row.cmd).second)
                continue;
            o << ".SS " << row.cmd << "\n" << roffLiteral(shortHelp(row.cmdShortHelp)) << "\n";
            std::string help = trimmedHelp(row.cmdHelp);
            if (!help.empty())
                o << ".PP\n.nf\n" << roffLiteral(help) << ".fi\n";
        }
    }
    o << ".SH \"EXIT STATUS\"\n"
         "0 when the command succeeded; otherwise a nonzero status, as a rule 1 or the\n"
         "controller library's status code of the failed operation.\n"
         ".SH ENVIRONMENT\n"
         ".TP\n.B ARRAY_DB_DIR\nData directory of the suite (event store, data file); default\n"
         ".IR /opt/korvex/storage/db .\n"
         ".TP\n.B ARRAY_CLOCK_FILE\nHost clock configuration read for event times; default\n"
         ".IR /etc/sysconfig/clock .\n"
         ".TP\n.B ARRAY_SG_DEVICE\nSCSI generic device probed at start\\-up; default\n"
         ".IR /dev/sg0 .\n"
         ".TP\n.B ARRAY_SG_WAIT\nSeconds waited after a failed probe; default 5.\n"
         ".SH \"SEE ALSO\"\n"
         ".BR arraywatch (8),\n.BR arraystat (8),\n.BR arraysim (1),\n.BR arrayrpc (7)\n";
}

std::string shellWords(const std::set<std::string> &words)
{
    std::string out;
    for (const std::string &w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

// Long options and object words of every command, gathered over the rows
// of all tables (a command's V1 and V2 pages may differ).
struct CommandWords {
    std::set<std::string> options;
    std::set<std::string> objects;
};

std::map<std::string, CommandWords> commandWords()
{
    static const std::regex longOption("--[a-zA-Z][-a-zA-Z0-9]*");
    static const std::regex objectList("--object\\s*<([^>]+)>");
    std::map<std::string, CommandWords> all;
    for (const Table &t : tables()) {
        for (unsigned i = 0; i < t.count; ++i) {
            const cmd_struct &row = t.rows[i];
            if (std::string(row.cmd) == "?")
                continue;
            CommandWords &w = all[row.cmd];
            std::string help = row.cmdHelp ? row.cmdHelp : "";
            for (std::sregex_iterator it(help.begin(), help.end(), longOption), end; it != end; ++it)
                w.options.insert(it->str());
            for (std::sregex_iterator it(help.begin(), help.end(), objectList), end; it != end; ++it) {
                std::stringstream list((*it)[1].str());
                std::string word;
                while (std::getline(list, word, '|'))
                    if (!word.empty())
                        w.objects.insert(word);
            }
        }
    }
    return all;
}

void writeCompletion(std::ostream &o)
{
    std::map<std::string, CommandWords> all = commandWords();
    std::set<std::string> commands;
    for (const auto &kv : all)
        commands.insert(kv.first);
    o << "# bash completion of arrayctl, generated from its command tables.\n"
         "_arrayctl()\n{\n"
         "    local cur prev cmd\n"
         "    cur=${COMP_WORDS[COMP_CWORD]}\n"
         "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
         "        COMPREPLY=($(compgen -W '"
      << shellWords(commands)
      << "' -- \"$cur\"))\n"
         "        return 0\n"
         "    fi\n"
         "    cmd=${COMP_WORDS[1],,}\n"
         "    local options='' objects=''\n"
         "    case $cmd in\n";
    for (const auto &kv : all) {
        o << "    " << kv.first << ")";
        o << " options='" << shellWords(kv.second.options) << "'";
        if (!kv.second.objects.empty())
            o << "; objects='" << shellWords(kv.second.objects) << "'";
        o << " ;;\n";
    }
    o << "    esac\n"
         "    if [ -n \"$objects\" ] && { [ \"$prev\" = -o ] || [ \"$prev\" = --object ]; }; then\n"
         "        COMPREPLY=($(compgen -W \"$objects\" -- \"$cur\"))\n"
         "    elif [[ $cur == -* ]]; then\n"
         "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "    fi\n"
         "    return 0\n"
         "}\n"
         "complete -F _arrayctl arrayctl\n";
}

void writeArrayrpcPage(std::ostream &o)
{
    manHeader(o, "ARRAYRPC", 7, "Miscellaneous");
    o << ".SH NAME\narrayrpc \\- PHP module of the RAID management web interface\n"
         ".SH SYNOPSIS\n.nf\n"
         "extension=arrayrpc.so\n"
         "string|false arrayrpc(string $request)\n"
         ".fi\n"
         ".SH DESCRIPTION\n"
         "The module gives PHP one function. Its argument is one XML request whose root\n"
         "element names the request; the answer is one XML document with the values asked\n"
         "for or the controller library's status of the failed operation. The controller\n"
         "library is initialised by the first request of each worker process, so the module\n"
         "is meant for long\\-lived workers (Apache prefork with mod_php, or php\\-fpm).\n"
         "Requests of adapter events read the store that \\fBarraywatch\\fR(8) keeps in\n"
         ".IR ARRAY_DB_DIR .\n"
         ".SH REQUESTS\n"
         "The requests this module serves:\n.PP\n.nf\n";
    std::size_t count = 0;
    const OperatorFactory *factories = kxOperatorFactories(count);
    std::set<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_ptr<KXAPIOperator> op(factories[i]());
        names.insert(op->getName());
    }
    for (const std::string &name : names)
        o << roffLiteral(name) << "\n";
    o << ".fi\n"
         ".SH \"SEE ALSO\"\n.BR arrayctl (8),\n.BR arraywatch (8)\n";
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: arraydoc arrayctl.8|arrayrpc.7|completion <file>\n");
        return 2;
    }
    std::string what = argv[1];
    std::ostringstream text;
    if (what == "arrayctl.8")
        writeArrayctlPage(text);
    else if (what == "completion")
        writeCompletion(text);
    else if (what == "arrayrpc.7")
        writeArrayrpcPage(text);
    else {
        std::fprintf(stderr, "arraydoc: unknown document %s\n", argv[1]);
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text.str();
    out.close();
    if (!out) {
        std::fprintf(stderr, "arraydoc: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
