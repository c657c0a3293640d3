// Placeholders in scripts, run by the real sh: whatever a caller puts in the
// name, the script prints it and nothing else runs.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "remote/placeholders.h"
#include "remote/text_routines.h"
#include "remote_test_support.h"

namespace {

TPlaceholderValues Values(const std::string& name, const std::string& number = "555-123-4567") {
  return {number, name, "12/08/26", "07:05:09", "ttyS0"};
}

// Expands `script` for a caller named `name` and runs it with sh in a folder
// of its own, as the script action does; returns what it printed.
class ScriptRun {
 public:
  ScriptRun(const std::string& script, const TPlaceholderValues& values) {
    // Something for a glob in the name to match, were it ever unquoted.
    WriteFile(dir_.filePath("globbed"));
    expanded_ = SubstituteScriptPlaceholders(script, values);
    std::string lines;
    for (const std::string& line : SplitLines(expanded_)) lines += line + "\n";
    EXPECT_TRUE(WriteFile(dir_.filePath("script.sh"), QByteArray::fromStdString(lines)));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const TPlaceholderKey& key : kPlaceholderKeys) {
      env.insert(QString::fromLatin1(key.Environment.data(), key.Environment.size()),
                 QString::fromStdString(values.Of(key.Which)));
    }
    QProcess sh;
    sh.setProcessEnvironment(env);
    sh.setWorkingDirectory(dir_.path());
    sh.start(QStringLiteral("sh"), {QStringLiteral("script.sh")});
    EXPECT_TRUE(sh.waitForFinished(30000));
    output_ = sh.readAllStandardOutput().toStdString();
    errors_ = sh.readAllStandardError().toStdString();
  }

  const std::string& Output() const { return output_; }
  const std::string& Errors() const { return errors_; }
  const std::string& Expanded() const { return expanded_; }
  // Files the script made besides its own.
  QStringList Made() const {
    QStringList files = QDir(dir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    files.removeAll(QStringLiteral("script.sh"));
    files.removeAll(QStringLiteral("globbed"));
    return files;
  }

 private:
  QTemporaryDir dir_;
  std::string expanded_;
  std::string output_;
  std::string errors_;
};

const std::vector<std::string> kHostileNames = {
    "Jane Doe",
    "$(touch X)",
    "`touch X`",
    "x\"; touch X; \"",
    "'; touch X; '",
    "'",
    "$IFS",
    "two\nlines; touch X",
    "* [a-z]* ?",
    "${QUORVEL_CID}",
    "%s %d",
    "  outer blanks  ",
    std::string(255, 'n'),
};

const std::vector<std::string> kBackslashNames = {"\\", "a\\nb\\", "\\$(touch X)", "-n"};

struct ContextCase {
  const char* name;
  std::string script;
  std::string expected;  // "{}" stands for the name
  bool echoes = false;   // echo reads backslashes and options itself
  bool literal = false;  // a quoted here-document: the name without control characters
};

void PrintTo(const ContextCase& c, std::ostream* out) { *out << c.name; }

std::string Expected(const ContextCase& c, const std::string& name) {
  const std::string shown = c.literal ? WithoutControlCharacters(name) : name;
  std::string text = c.expected;
  for (std::size_t at; (at = text.find("{}")) != std::string::npos;) text.replace(at, 2, shown);
  return text;
}

class ScriptContext : public testing::TestWithParam<ContextCase> {};

TEST_P(ScriptContext, PrintsAnyNameExactlyAndRunsNothingElse) {
  std::vector<std::string> names = kHostileNames;
  if (!GetParam().echoes) names.insert(names.end(), kBackslashNames.begin(), kBackslashNames.end());
  for (const std::string& name : names) {
    SCOPED_TRACE("name: " + name);
    const ScriptRun run(GetParam().script, Values(name));
    SCOPED_TRACE("script: " + run.Expanded());
    EXPECT_EQ(run.Output(), Expected(GetParam(), name));
    EXPECT_EQ(run.Errors(), "");
    EXPECT_TRUE(run.Made().isEmpty()) << run.Made().join(',').toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScriptContext,
    testing::Values(
        ContextCase{"EchoUnquoted", "echo @CIN", "{}\n", true},
        ContextCase{"EchoDoubleQuoted", "echo \"@CIN\"", "{}\n", true},
        ContextCase{"EchoSingleQuoted", "echo '@CIN'", "{}\n", true},
        ContextCase{"Unquoted", "printf '%s|' @CIN name=@CIN.", "{}|name={}.|"},
        ContextCase{"DoubleQuoted", "printf '%s|' \"Call from @CIN at 9\"", "Call from {} at 9|"},
        ContextCase{"SingleQuoted", "printf '%s|' 'Call from @CIN!' '@CIN'", "Call from {}!|{}|"},
        ContextCase{"AfterABackslash", "printf '%s|' \\@CIN \"\\@CIN\"", "{}|{}|"},
        ContextCase{"HereDocument", "cat <<EOF\nName: @CIN $((1+1))\nEOF", "Name: {} 2\n"},
        ContextCase{"QuotedHereDocument", "cat <<'EOF' ; cat <<\\E\"N\"D\n@CIN $HOME\nEOF\n@CIN\nEND\n",
                    "{} $HOME\n{}\n", false, true},
        ContextCase{"TabStrippedHereDocument", "cat <<-\"END\"\n\t@CIN\n\tEND\necho",
                    "{}\n\n", false, true},
        ContextCase{"Comment", "# caller: @CIN\nprintf '%s|' @CIN # and @CIN", "{}|"},
        ContextCase{"CommandSubstitution", "x=$(printf '%s.' \"@CIN\"); printf '%s|' \"$x\"",
                    "{}.|"},
        ContextCase{"Backquotes", "x=`printf '%s.' @CIN`; printf '%s|' \"$x\"", "{}.|"},
        ContextCase{"NestedInDoubleQuotes", "printf '%s|' \"$(printf '%s' \"<@CIN>\")\"", "<{}>|"},
        ContextCase{"ParameterDefault", "printf '%s|' \"${nothing:-@CIN}\" ${nothing:-@CIN}",
                    "{}|{}|"},
        ContextCase{"ShiftsAndQuotedMarksStartNoHereDocument",
                    "echo $((1<<2)) '<<E' \"<<E\" # <<'E'\nprintf '%s|' @CIN", "4 <<E <<E\n{}|"},
        ContextCase{"CrLfLineEnds", "cat <<EOF\r\n@CIN\r\nEOF\r\nprintf '%s|' '@CIN'\r\n",
                    "{}\n{}|"},
        // Shell syntax around the placeholders survives expansion whole.
        ContextCase{"PositionalParameters",
                    "set -- a 'b c'; for a in \"$@\"; do printf '<%s>' \"$a\"; done; echo @CIN",
                    "<a><b c>{}\n", true},
        ContextCase{"DollarAtBeforeKeyLetters", "set -- x; printf '%s|' \"$@CIN\" @CIN", "xCIN|{}|"},
        ContextCase{"MailAddressAndLoneMarks", "echo me@example.com @ @@CIN@", "me@example.com @ @{}@\n",
                    true},
        ContextCase{"LongLinesAreNotCut", "echo @CIN " + std::string(300, 'y'),
                    "{} " + std::string(300, 'y') + "\n", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptHereDocument, AValueNeverEndsALiteralBody) {
  // The name forms the end line, the number the line after it; were the body
  // ended, the number would run as a command.
  for (const std::string& script : {std::string("cat <<'EOF'\n@CIN\n@CID\nEOF\n"),
                                    std::string("cat <<-\\EOF\n\t@CIN\n@CID\nEOF")}) {
    const ScriptRun run(script, Values("EOF", "touch X"));
    EXPECT_EQ(run.Output(), "EOF \ntouch X\n") << run.Expanded();
    EXPECT_TRUE(run.Made().isEmpty());
  }
}

}  // namespace
