// The expected values the tests hold in tests/data: tab-separated text files, one row a line. A line
// starting with '#' is a comment, and so is everything from a cell starting with '#' on.
#pragma once

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#ifndef ZELK_TEST_DATA
#error "ZELK_TEST_DATA must name the folder of the tests' data files"
#endif

struct CDataRow {
    int Line = 0;
    std::vector<std::string> Cells;
};

inline std::string TestDataPath(const std::string& name) {
    return std::string(ZELK_TEST_DATA) + "/" + name;
}

// The rows of a data file; none when it cannot be read.
inline std::vector<CDataRow> ReadDataRows(const std::string& name) {
    std::vector<CDataRow> rows;
    std::ifstream in(TestDataPath(name), std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        CDataRow row{number, {}};
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t end = std::min(line.find('\t', start), line.size());
            std::string cell = line.substr(start, end - start);
            if (!cell.empty() && cell[0] == '#')
                break;
            row.Cells.push_back(std::move(cell));
            start = end + 1;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// A cell's "\n" stand for line breaks.
inline std::string Unescaped(const std::string& cell) {
    std::string text;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\\' && i + 1 < cell.size() && cell[i + 1] == 'n') {
            text += '\n';
            ++i;
        } else {
            text += cell[i];
        }
    }
    return text;
}
