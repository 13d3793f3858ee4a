#include "foreign_formats.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "amptek_mca.h"
#include "auto_answer_ui.h"
#include "canberra_cnf.h"
#include "check_spectrum_file.h"
#include "column_text.h"
#include "iec_61455.h"
#include "input_file.h"
#include "load_spectrum_file.h"
#include "n42_file.h"
#include "text_utils.h"
#include "tka_file.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t converted_header_max = 200;

struct KindName {
    std::string_view extension;
    ForeignKind kind;
};

constexpr KindName kinds[] = {
    {".cnf", ForeignKind::Cnf}, {".n42", ForeignKind::N42},     {".xml", ForeignKind::N42},
    {".mca", ForeignKind::Mca}, {".iec", ForeignKind::Iec},     {".tka", ForeignKind::Tka},
    {".csv", ForeignKind::Columns}, {".tsv", ForeignKind::Columns}, {".txt", ForeignKind::Columns},
};

std::string extension_of(const std::string& path) { return common::LOWCASE(common::SPLITPATH(path).extension); }

void tell_notes(common::Ui& ui, const ForeignRead& read) {
    for (const std::string& note : read.notes) {
        common::TELL(ui, note);
    }
}

// A .txt file that is no column text is a native spectrum file.
bool is_native_txt(ForeignKind kind, const std::string& path, std::string_view bytes) {
    return kind == ForeignKind::Columns && extension_of(path) == ".txt" && !txt_is_column_text(bytes);
}

// The count format of the native copy: the one the widest count of all the spectra needs.
std::string copy_format(const ForeignRead& read) {
    const std::vector<double>* widest = &read.spectra.front().counts;
    int columns = 0;
    for (const ForeignSpectrum& s : read.spectra) {
        for (const double c : s.counts) {
            if (const int n = columns_needed(c); n > columns) {
                columns = n;
                widest = &s.counts;
            }
        }
    }
    return eight_per_line_format(*widest);
}

}  // namespace

std::optional<ForeignKind> foreign_kind(std::string_view extension) {
    const std::string lower = common::LOWCASE(extension);
    for (const KindName& k : kinds) {
        if (k.extension == lower) {
            return k.kind;
        }
    }
    return std::nullopt;
}

bool is_identified_spectrum_name(std::string_view path) {
    const std::string extension = common::LOWCASE(common::SPLITPATH(path).extension);
    return foreign_kind(extension) || extension == ".dat" || extension == ".chn" || extension == ".spe" ||
           extension == ".lmc" || extension == ".cvc";
}

std::string foreign_files_filter() {
    const std::string patterns = "*.cnf;*.n42;*.xml;*.mca;*.iec;*.tka;*.csv;*.tsv;*.txt";
    return "Other instruments (cnf, n42, mca, iec, tka, csv, tsv, txt)|" + patterns + "|";
}

std::string foreign_type_text(ForeignKind kind, std::string_view extension) {
    switch (kind) {
        case ForeignKind::Cnf:
            return TYPE_TEXT_CNF;
        case ForeignKind::N42:
            return TYPE_TEXT_N42;
        case ForeignKind::Mca:
            return TYPE_TEXT_MCA;
        case ForeignKind::Iec:
            return TYPE_TEXT_IEC;
        case ForeignKind::Tka:
            return TYPE_TEXT_TKA;
        case ForeignKind::Columns:
            break;
    }
    std::string e = common::LOWCASE(extension);
    if (!e.empty() && e.front() == '.') {
        e.erase(0, 1);
    }
    return std::string(TYPE_TEXT_COLUMNS) + (e.empty() ? "" : " (" + e + ")");
}

const char* foreign_type_code(ForeignKind kind) {
    switch (kind) {
        case ForeignKind::Cnf:
            return TYPE_CNF;
        case ForeignKind::N42:
            return TYPE_N42;
        case ForeignKind::Mca:
            return TYPE_MCA;
        case ForeignKind::Iec:
            return TYPE_IEC;
        case ForeignKind::Tka:
            return TYPE_TKA;
        case ForeignKind::Columns:
            break;
    }
    return TYPE_COLUMNS;
}

ForeignRead read_foreign_bytes(ForeignKind kind, std::string_view bytes, const std::string& file_name) {
    switch (kind) {
        case ForeignKind::Cnf:
            return read_cnf_bytes(bytes, file_name);
        case ForeignKind::N42:
            return read_n42_bytes(bytes, file_name);
        case ForeignKind::Mca:
            return read_mca_bytes(bytes, file_name);
        case ForeignKind::Iec:
            return read_iec_bytes(bytes, file_name);
        case ForeignKind::Tka:
            return read_tka_bytes(bytes, file_name);
        case ForeignKind::Columns:
            break;
    }
    return read_column_text_bytes(bytes, file_name);
}

ForeignRead read_foreign_file(ForeignKind kind, const std::string& path) {
    const common::InputFile file = common::read_input_file(path);
    if (!file.ok()) {
        return failed_read(common::input_problem_text(file, path, "Error opening the spectrum file: " + path));
    }
    return read_foreign_bytes(kind, file.text, path);
}

bool store_foreign_spectra(SpectrumStore& store, common::Ui& ui, const ForeignRead& read,
                           const std::string& file_name) {
    const ForeignSpectrum& first = read.spectra.front();
    bool stored = store_single_spectrum(store, first.counts, first.header);
    try {
        for (std::size_t k = 1; stored && k < read.spectra.size(); ++k) {
            const ForeignSpectrum& s = read.spectra[k];
            std::vector<double>& column = store.file_column(static_cast<int>(k) + 1);
            std::copy(s.counts.begin(), s.counts.end(), column.begin());
            store.FILE_SPECTRUM_HEADERS[k] =
                std::string(common::trim_right(common::cut_chars(s.header, HEADER_LENGTH)));
        }
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored) {
        reset_store(store);
        common::WARN(ui, "Not enough memory to read the " + std::to_string(first.counts.size()) +
                             " channels of the spectrum file \"" + std::string(common::trim(file_name)) + "\"");
        return false;
    }
    store.FILE_SPECTRUM_COUNT = static_cast<int>(read.spectra.size());
    return true;
}

bool check_foreign_file(SpectrumStore& store, common::Ui& ui, ForeignKind kind, const std::string& file_name,
                        CheckResult& r) {
    const common::InputFile file = common::read_input_file(file_name);
    if (!file.ok()) {
        common::WARN(ui, common::input_problem_text(file, file_name, "Error opening the spectrum file: " + file_name));
        return false;
    }
    const std::string shown_name = common::name_with_extension(file_name);
    if (is_native_txt(kind, file_name, file.text)) {
        // Any text file may be named .txt: one that is no spectrum file stays
        // unidentified without a message, and the caller decides what to say.
        common::AutoAnswerUi silent(false);
        SpectrumStore trial;
        if (load_spectrum_text(trial, silent, file.text, file_name, true).channel_count == 0) {
            return false;
        }
        const LoadResult loaded = load_spectrum_text(store, ui, file.text, file_name);
        if (loaded.channel_count == 0) {
            return false;
        }
        r.type_code = TYPE_NATIVE;
        r.type_text = TYPE_TEXT_NATIVE;
        r.format = loaded.format;
        r.description = store.FILE_SPECTRUM_HEADERS[0];
        return true;
    }
    const ForeignRead read = read_foreign_bytes(kind, file.text, file_name);
    if (!read.ok()) {
        common::WARN(ui, read.problem.empty() ? "Error reading file: " + file_name : read.problem);
        return false;
    }
    tell_notes(ui, read);
    if (!store_foreign_spectra(store, ui, read, file_name)) {
        return false;
    }
    common::STATUS(ui, read.pane.format + " file [" + shown_name + "] loaded");
    r.type_code = foreign_type_code(kind);
    r.type_text = foreign_type_text(kind, common::SPLITPATH(file_name).extension);
    r.description = read.description;
    r.foreign = read.pane;
    if (read.spectra.size() > 1) {
        for (const ForeignSpectrum& s : read.spectra) {
            r.foreign->spectra.push_back({s.detector, s.start, s.real_time, s.live_time, s.energy});
        }
    }
    r.converted = true;
    return true;
}

ConvertResult convert_foreign_file(common::Ui& ui, ForeignKind kind, const std::string& source,
                                   const std::string& output_dir, ExistingFile existing, common::FileOps& ops) {
    ConvertResult r;
    r.target = source;
    const common::InputFile file = common::read_input_file(source);
    if (!file.ok()) {
        common::WARN(ui, common::input_problem_text(file, source, "Error opening the spectrum file: " + source));
        r.failed = true;
        return r;
    }
    if (is_native_txt(kind, source, file.text)) {
        return r;  // read as it is
    }
    const ForeignRead read = read_foreign_bytes(kind, file.text, source);
    if (!read.ok()) {
        common::WARN(ui, read.problem.empty() ? "Error reading file: " + source : read.problem);
        r.failed = true;
        return r;
    }
    tell_notes(ui, read);
    std::vector<SpectrumToWrite> spectra;
    for (const ForeignSpectrum& s : read.spectra) {
        spectra.push_back({s.header, s.counts, converted_header_max});
    }
    return write_copy_to_read(ui, source, native_copy_name(source, output_dir), spectra, copy_format(read), existing,
                              ops);
}

}  // namespace vorelbox::spectra
