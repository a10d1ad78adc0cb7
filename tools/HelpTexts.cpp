#include "HelpTexts.h"

namespace {

// The commands of the desktop (classify, icons, check --targets) exist only where
// the shell layer is built.
#ifdef PELLO_DESKTOP_COMMANDS
#define PELLO_SHELL_TEXT(text) text
#else
#define PELLO_SHELL_TEXT(text) ""
#endif

// clang-format off
#define PELLO_USAGE                                     \
  "usage: pellodata convert IN OUT\n"                   \
  "       pellodata dump IN\n"                          \
  "       pellodata check IN\n"                         \
  "       pellodata diff [--stat] A B\n"                 \
  "       pellodata merge BASE OURS THEIRS [-o OUT]\n"   \
  PELLO_SHELL_TEXT(                                     \
  "       pellodata check --targets IN\n"               \
  "       pellodata classify PATH...\n"                 \
  "       pellodata icons FILE\n")                      \
  "       pellodata help [COMMAND]\n"                   \
  "       pellodata --help | --version\n"
// clang-format on

#define PELLO_STANDARD_INPUT "IN \"-\" reads standard input.\n"

struct TCommandHelp {
  std::string_view command;
  const char* text;
};

const TCommandHelp kCommands[] = {
    {"convert",
     "usage: pellodata convert IN OUT\n"
     "\n"
     "Reads IN, a data file in the text or the binary form, and writes it to OUT in the\n"
     "text form (Shift-JIS, CR LF). OUT is replaced only once all of it is "
     "written.\n" PELLO_STANDARD_INPUT "OUT \"-\" writes standard output.\n"
     "\n"
     "Exit status: 0 written; 1 IN cannot be read or is no data file, or OUT cannot be\n"
     "written; 2 a wrong command line.\n"},
    {"dump",
     "usage: pellodata dump IN\n"
     "\n"
     "Prints IN's status, pages and buttons as UTF-8 text, a record a line; a run of\n"
     "buttons that a page counts but the file lacks is one \"(missing)\" "
     "line.\n" PELLO_STANDARD_INPUT "\n"
     "Exit status: 0 printed; 1 IN cannot be read or is no data file; 2 a wrong command\n"
     "line.\n"},
    // clang-format off
    {"check",
     "usage: pellodata check IN\n"
     PELLO_SHELL_TEXT(
     "       pellodata check --targets IN\n")
     "\n"
     "Lists, a line each, what in IN breaks its own rules or its status's limits: pages\n"
     "that own more or fewer buttons than the file holds, too many pages or buttons,\n"
     "unknown kinds, window states and special folders. When IN is no data file, says\n"
     "why each form refuses it.\n"
     PELLO_SHELL_TEXT(
     "With --targets, lists the buttons whose targets are missing here (under\n"
     "\"# リンク切れ\"), then those that cannot be checked here (under\n"
     "\"# この環境では確認できません\"): PAGE, BUTTON, TITLE, FIELD, PATH and WHY, a tab\n"
     "between each.\n")
     PELLO_STANDARD_INPUT
     "\n"
     "Exit status, as grep's: 0 nothing found; 1 something found (with --targets: a\n"
     "missing target); 2 IN cannot be read or is no data file, or a wrong command line.\n"},
    // clang-format on
    {"diff",
     "usage: pellodata diff [--stat] A B\n"
     "\n"
     "Lists what changed from A to B, a line each, by page and button: pages added,\n"
     "removed, renamed or moved; buttons added, removed, moved or changed (each field,\n"
     "old and new), and use counts apart. Pages are matched by name, by the buttons\n"
     "they share, then by position; buttons by what they are, by target and title, by\n"
     "target, then by position. With --stat, how many of each kind. A or B \"-\" reads\n"
     "standard input.\n"
     "\n"
     "Exit status, as diff's: 0 the same; 1 different; 2 A or B cannot be read or is no\n"
     "data file, or a wrong command line.\n"},
    {"merge",
     "usage: pellodata merge BASE OURS THEIRS [-o OUT]\n"
     "\n"
     "Merges what OURS and THEIRS each changed since BASE and writes the result in the\n"
     "text form to OUT (by default over OURS, replaced only once all of it is written,\n"
     "as a git merge driver expects; OUT \"-\" writes standard output). A change on one\n"
     "side is taken, the same change on both once, and use counts add up. A field\n"
     "changed differently on both sides, or a button or page changed on one side and\n"
     "removed on the other, is a conflict: OURS is kept there, and the conflict is\n"
     "listed on standard error. A damaged file is not merged.\n"
     "\n"
     "As git's merge driver for the launcher's file:\n"
     "  .gitattributes:  PelloRunner.lst merge=pello\n"
     "  git config merge.pello.driver \"pellodata merge %O %A %B\"\n"
     "\n"
     "Exit status: 0 merged; 1 merged with conflicts; 2 a file cannot be read or\n"
     "written or is no data file, or a wrong command line.\n"},
#ifdef PELLO_DESKTOP_COMMANDS
    {"classify",
     "usage: pellodata classify PATH...\n"
     "\n"
     "Shows, a line for each PATH, the button the editor makes of it:\n"
     "\"PATH: recognised: \" or \"PATH: not recognised: \", then the button's record.\n"
     "\n"
     "Exit status: 0 every PATH recognised; 1 not every one; 2 a wrong command line.\n"},
    {"icons",
     "usage: pellodata icons FILE\n"
     "\n"
     "Counts the icons FILE holds, then lists the sizes of each, \"I: WxH WxH ...\".\n"
     "FILE is a path, a theme icon name or a well-known library's name.\n"
     "\n"
     "Exit status: 0 FILE holds an icon; 1 it holds none; 2 a wrong command line.\n"},
#endif
    {"help",
     "usage: pellodata help [COMMAND]\n"
     "\n"
     "Prints the usage of pellodata, or COMMAND's own help (as \"pellodata COMMAND\n"
     "--help\" does).\n"
     "\n"
     "Exit status: 0; 2 for a command pellodata does not have.\n"},
};

}  // namespace

const char* UsageText() {
  return PELLO_USAGE;
}

const char* HelpText() {
  return "pellodata: the command-line companion of the data file editor, pelledit.\n"
         "\n" PELLO_USAGE
         "\n"
         "  convert   read IN (either form) and write OUT in the text form\n"
         "  dump      print the status, pages and buttons as UTF-8 text\n"
         "  check     list what is inconsistent in IN\n"
         "  diff      list what changed from A to B, by page and button\n"
         "  merge     merge what OURS and THEIRS changed since BASE\n" PELLO_SHELL_TEXT(
             "            (--targets: the targets of IN's buttons missing here)\n"
             "  classify  show the button each path becomes\n"
             "  icons     count the icons in FILE and list their sizes\n")
         "  help      show a command's own help\n"
         "\n"
         "IN \"-\" reads standard input; convert's OUT \"-\" writes standard output.\n"
         "\n"
         "Exit status: 0 success; 1 a file cannot be read or written, or the command's\n"
         "own failure; 2 a wrong command line. check exits as grep does: 0 nothing found,\n"
         "1 something found, 2 IN cannot be read or is no data file. diff and merge exit\n"
         "0 the same or merged, 1 different or conflicts, 2 trouble.\n"
         "\"pellodata help COMMAND\" tells more of each.\n";
}

const char* CommandHelp(std::string_view command) {
  for (const TCommandHelp& help : kCommands)
    if (help.command == command) return help.text;
  return nullptr;
}
