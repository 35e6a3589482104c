// Main procedure of velkor: the whole road of one While program, and the
// question whether another follows.
#include "driver/velkor.hpp"

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "driver/printpak.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "machine/baumwandler_package.hpp"
#include "trace/machetrace.hpp"

namespace velkor {
namespace {

constexpr std::string_view dash_line = "   -----------------------------";
constexpr std::string_view name_prompt = "(keine Eingabe, wenn keine Datei angelegt werden soll)";

common::text_writer& out() {
    return common::standard_output();
}

void headline() {
    out().put_line(dash_line);
    out().put_line("   ---- Velkor ----");
    out().put_line(dash_line);
    out().new_line();
}

void ask_for_file_name(std::string_view title, std::string& name) {
    out().new_line();
    out().put_line(title);
    out().put_line(name_prompt);
    name = common::get_line();
}

// read_program runs the input dialogue until it has a program text, from
// the console or from a file, and the names of the two output files. A path
// that names no file writes "Datei nicht gefunden." and the menu comes again.
void read_program(std::string& eingabe_programm, std::string& traced, std::string& baumd) {
    common::in_file datei_eingabe;
    for (;;) {
        try {
            if (eingabe()) {
                tracedatei(traced);
                baumdatei(baumd);
                eingabe_programm = lesevonconsole("Bitte geben Sie jetzt das Programm als Fliesstext ein: ");
            } else {
                leseausdatei(eingabe_programm, traced, baumd, datei_eingabe);
                out().new_line();
                out().put_line("Gelesenes Programm aus Datei:");
                out().put_line(eingabe_programm);
            }
            return;
        } catch (const common::named_error& error) {
            if (!error.is(common::name_error_name)) {
                throw;
            }
            out().put_line("Datei nicht gefunden.");
        }
    }
}

// The files of one activation. They belong to the activation, not to the
// processing: when the file run fails, the trace file keeps what it wrote
// and is closed after the activation's message, as the activation ends.
struct activation_files {
    common::out_file ausgabe_trace;
    common::out_file ausgabe_baum;
};

// process_program parses the program text. Without a tree it writes the
// parser's message; with one it draws the tree, runs the trace into the
// trace file and then on the screen, and writes the tree file.
void process_program(const std::string& eingabe_programm, const std::string& traced, const std::string& baumd,
                     activation_files& files) {
    // The parser's out-parameters: an empty token list and an empty text.
    scannerpak::listoftoken tokens_left = nullptr;
    std::string parser_message;
    const comtypes::ptokenlist ptksleft = &tokens_left;
    const comtypes::pstring pparsererr = &parser_message;
    const comtypes::grbaum grambaum =
        comtypes::creategb(scannerpak::scanner(eingabe_programm), ptksleft, pparsererr);
    out().new_line();
    if (grambaum == nullptr) {
        out().put_line("Das eingegebene Programm liegt nicht in der While-Sprache.");
        out().put_line(*pparsererr);
        return;
    }
    auto& [ausgabe_trace, ausgabe_baum] = files;
    out().put_line("Der Grammatikbaum: ");
    printpak::printgb(grambaum, out(), false);  // on the screen
    out().put_line("Der Trace: ");
    ausgabe_trace.create(traced);
    baumwandler_package::machetrace(grambaum, ausgabe_trace);
    // The trace file is whole on disk before the screen run, which may be
    // long or cut short. Should this write fail, the close reports it, where
    // a trace file that could not take its text has always been reported.
    ausgabe_trace.flush_before_close();
    baumwandler_package::machetrace(grambaum);
    ausgabe_trace.close();
    ausgabe_baum.create(baumd);
    printpak::printgb(grambaum, ausgabe_baum, true);
    ausgabe_baum.close();
}

// another_program asks whether another program follows and returns true
// for "J" or "j"; any other answer writes the closing banner.
bool another_program() {
    out().new_line();
    out().new_line();
    out().put_line("Moechten Sie ein weiteres Programm eingeben? (j/n)");
    const std::string inp = common::get_line();
    if (inp == "J" || inp == "j") {
        return true;
    }
    out().new_line();
    out().new_line();
    out().put_line(dash_line);
    out().put_line("   ---- Ende des Programm   ----");
    out().put_line(dash_line);
    return false;
}

// activation is one pass of the main procedure, with its own locals. It
// returns true when the user asks for another program. A failed machine
// step ends it, and the program, after its message.
bool activation() {
    // The token list, the tree and every cell that drawing and tracing built
    // are reached only from this activation's locals: once it ends, by its
    // question, by a failed step or by an error that leaves it, nothing can
    // reach them, and the next program reuses their storage. What leaves it
    // (the answer, an error) owns its text.
    const common::arena_scope activation_cells;
    activation_files files;
    try {
        headline();
        out().new_line();
        std::string eingabe_programm;
        std::string traced;
        std::string baumd;
        read_program(eingabe_programm, traced, baumd);
        process_program(eingabe_programm, traced, baumd, files);
        return another_program();
    } catch (const common::named_error& error) {
        if (!error.is(baumwandler_package::whileinit_error)) {
            throw;
        }
        out().put_line("Fehlerhaftes While-Programm! (Initialisierung)");
        return false;
    }
}

}  // namespace

void velkor() {
    // Another program is another pass with fresh locals, not a deeper call.
    while (activation()) {
    }
}

bool eingabe() {
    for (;;) {
        out().put_line("Wollen sie das Programm per Console oder Datei");
        out().put("einlesen (C/D)?: ");
        const std::string input = common::get_line();
        if (input == "C" || input == "c") {
            return true;
        }
        if (input == "D" || input == "d") {
            return false;
        }
        out().new_line();
        out().put_line("Unzulaessige Eingabe! Gueltige Eingaben: C, D.");
        out().new_line();
    }
}

std::string lesevonconsole(std::string_view s) {
    out().new_line();
    out().put_line(s);
    return common::get_line();
}

void tracedatei(std::string& traced) {
    ask_for_file_name("Dateiname der zu erstellenden Trace-Datei:", traced);
}

void baumdatei(std::string& baumd) {
    ask_for_file_name("Dateiname der zu erstellenden Baum-Datei:", baumd);
}

void leseausdatei(std::string& eingabe, std::string& tr, std::string& ba, common::in_file& datei_eingabe) {
    out().new_line();
    out().put_line("Bitte geben Sie den Pfad der Datei im Format: C:\\Ordner\\Datei.txt an.");
    const std::string temp2 = common::get_line();
    datei_eingabe.open(temp2);
    while (!datei_eingabe.end_of_file()) {
        const std::string temp = datei_eingabe.get_line();
        if (!temp.empty()) {  // a line without any character is skipped
            eingabe += ' ';
            eingabe += temp;
        }
    }
    datei_eingabe.close();
    concpf(temp2, "_Baum", ba);
    concpf(temp2, "_Trace", tr);
}

void concpf(std::string_view fn, std::string_view pf, std::string& rtn) {
    const std::size_t ptpos = fn.rfind('.');
    if (ptpos == std::string_view::npos) {
        rtn = std::string(fn) + std::string(pf);
        return;
    }
    rtn = std::string(fn.substr(0, ptpos)) + std::string(pf) + std::string(fn.substr(ptpos));
}

}  // namespace velkor
