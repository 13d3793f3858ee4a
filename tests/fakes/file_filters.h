#pragma once
// What a file dialog's filters offer: the extensions of their "*.ext" patterns.

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "text_utils.h"
#include "ui.h"

namespace vorelbox::fakes {

// Every extension the filters name, lower case with its dot (".cnf"); "*.*"
// and "*" are left out.
inline std::set<std::string> offered_extensions(const std::vector<common::FileFilter>& filters) {
    std::set<std::string> offered;
    for (const common::FileFilter& f : filters) {
        std::size_t start = 0;
        while (start <= f.pattern.size()) {
            const std::size_t end = std::min(f.pattern.find(';', start), f.pattern.size());
            const std::string one = f.pattern.substr(start, end - start);
            if (one.rfind("*.", 0) == 0 && one != "*.*") {
                offered.insert(common::LOWCASE(one.substr(1)));
            }
            start = end + 1;
        }
    }
    return offered;
}

// The extensions of the files of other instruments, as a user's files spell them.
inline std::vector<std::string> other_instrument_names() {
    return {"a.cnf", "B.CNF", "c.n42", "d.N42", "e.xml", "f.mca", "g.iec", "h.tka", "i.TKA", "j.csv", "k.tsv", "l.txt"};
}

}  // namespace vorelbox::fakes
