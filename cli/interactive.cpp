#include "cli/interactive.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/completion.h"
#include "cli/history_file.h"
#include "engine/session.h"
#include "vexalo_version.h"

#ifdef VX_HAVE_LIBEDIT
#include <histedit.h>
#endif

namespace vx {

int openBracketDepth(const std::string& text) {
    int depth = 0;
    bool inComment = false;
    for (size_t k = 0; k < text.size(); ++k) {
        char c = text[k];
        char next = k + 1 < text.size() ? text[k + 1] : '\0';
        if (inComment) {
            if (c == '*' && next == '/') inComment = false, ++k;
            continue;
        }
        if (c == '/' && next == '*') {
            inComment = true;
            ++k;
            continue;
        }
        if (c == '(' || c == '[' || c == '{') ++depth;
        if (c == ')' || c == ']' || c == '}') --depth;
    }
    return inComment ? 1 : depth;
}

namespace {

enum class Read { Line, Cancelled, End };

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

#ifdef VX_HAVE_LIBEDIT

// libedit: emacs keys, Tab completes names, Ctrl+C at the prompt cancels
// the line (a key while editing: the terminal sends no signal then), the
// history is kept in a file between sessions.
class LineReader {
public:
    explicit LineReader(Engine& engine) : engine_(engine), historyPath_(historyFilePath()) {
        history_ = history_init();
        HistEvent ev;
        history(history_, &ev, H_SETSIZE, kHistoryEntries);
        history(history_, &ev, H_SETUNIQUE, 1);
        if (!historyPath_.empty()) history(history_, &ev, H_LOAD, historyPath_.c_str());

        editor_ = el_init("vexalo-cli", stdin, stdout, stderr);
        el_set(editor_, EL_CLIENTDATA, this);
        el_set(editor_, EL_EDITOR, "emacs");
        el_set(editor_, EL_PROMPT, &LineReader::prompt);
        el_set(editor_, EL_HIST, history, history_);
        el_set(editor_, EL_SETTY, "-d", "-isig", nullptr);
        el_set(editor_, EL_ADDFN, "vx-complete", "complete a name", &LineReader::complete);
        el_set(editor_, EL_BIND, "^I", "vx-complete", nullptr);
        el_set(editor_, EL_ADDFN, "vx-cancel", "cancel the statement", &LineReader::cancel);
        el_set(editor_, EL_BIND, "^C", "vx-cancel", nullptr);
        el_source(editor_, nullptr);  // the user's ~/.editrc has the last word
    }
    ~LineReader() {
        el_end(editor_);
        history_end(history_);
    }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    Read read(const char* promptText, std::string& line) {
        promptText_ = promptText;
        cancelled_ = false;
        int count = 0;
        const char* text = el_gets(editor_, &count);
        if (cancelled_) return Read::Cancelled;
        if (!text || count <= 0) return Read::End;
        line = text;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        return Read::Line;
    }

    void remember(const std::string& line) {
        if (trimmed(line).empty()) return;
        HistEvent ev;
        history(history_, &ev, H_ENTER, line.c_str());
    }

    // Written after every statement, so that a session ended by a signal
    // keeps what was typed.
    void save() {
        if (historyPath_.empty()) return;
        std::string error = replaceFile(historyPath_, [this](std::FILE* out) {
            HistEvent ev;
            return history(history_, &ev, H_SAVE_FP, out) >= 0;
        });
        if (!error.empty() && !saveWarned_) {
            std::fprintf(stderr, "vexalo-cli: cannot save the history: %s\n", error.c_str());
            saveWarned_ = true;
        }
    }

private:
    static LineReader& of(EditLine* editor) {
        void* self = nullptr;
        el_get(editor, EL_CLIENTDATA, &self);
        return *static_cast<LineReader*>(self);
    }
    static char* prompt(EditLine* editor) { return const_cast<char*>(of(editor).promptText_); }

    static unsigned char complete(EditLine* editor, int) {
        LineReader& self = of(editor);
        const LineInfo* line = el_line(editor);
        Completion c = completeName(self.engine_, std::string_view(line->buffer, line->cursor - line->buffer));
        if (!c.insertion.empty()) {
            el_insertstr(editor, c.insertion.c_str());
            return CC_REFRESH;
        }
        if (c.choices.empty()) return CC_REFRESH_BEEP;
        std::string list = "\n";
        size_t column = 0;
        for (const std::string& name : c.choices) {
            if (column > 0 && column + name.size() + 2 > 78) list += "\n", column = 0;
            list += name + "  ";
            column += name.size() + 2;
        }
        std::fprintf(stdout, "%s\n", list.c_str());
        return CC_REDISPLAY;
    }

    static unsigned char cancel(EditLine* editor, int) {
        LineReader& self = of(editor);
        self.cancelled_ = true;
        // Show the abandoned line as shells do, ending in ^C; the pushed
        // Enter ends the line the usual way, display included.
        const LineInfo* line = el_line(editor);
        el_cursor(editor, static_cast<int>(line->lastchar - line->cursor));
        el_insertstr(editor, "^C");
        el_push(editor, "\n");
        return CC_REFRESH;
    }

    Engine& engine_;
    std::string historyPath_;
    History* history_ = nullptr;
    EditLine* editor_ = nullptr;
    const char* promptText_ = "";
    bool cancelled_ = false;
    bool saveWarned_ = false;
};

#else

// Without libedit: plain lines, no history, no completion.
class LineReader {
public:
    explicit LineReader(Engine&) {}
    Read read(const char* promptText, std::string& line) {
        std::cout << promptText << std::flush;
        return std::getline(std::cin, line) ? Read::Line : Read::End;
    }
    void remember(const std::string&) {}
    void save() {}
};

#endif

}  // namespace

void runInteractive(Engine& engine) {
    if (isatty(STDOUT_FILENO)) std::printf("Vexalo %s \u2014 Ctrl+D leaves, Ctrl+C stops a statement\n", VX_VERSION_TEXT);
    LineReader reader(engine);
    std::string line;
    for (;;) {
        Read r = reader.read("vexalo> ", line);
        if (r == Read::End) {
            std::fputs("\n", stdout);
            break;
        }
        if (r == Read::Cancelled) continue;
        std::string word = trimmed(line);
        if (word == "quit" || word == "exit") break;
        reader.remember(line);
        std::string statement = line;
        // Ctrl+C or Ctrl+D on a continuation line drops the whole statement.
        while (r == Read::Line && openBracketDepth(statement) > 0) {
            r = reader.read("   ...> ", line);
            if (r == Read::End) std::fputs("\n", stdout);
            if (r != Read::Line) break;
            reader.remember(line);
            statement += "\n" + line;
        }
        if (r != Read::Line || trimmed(statement).empty()) continue;
        engine.abortRequested.store(0);
        engine.endSubmission.store(0);
        engine.working.store(1);
        submitText(engine, statement);
        std::fflush(stdout);
        reader.save();
    }
    reader.save();
}

}  // namespace vx
