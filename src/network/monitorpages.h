#pragma once

class Classroom;

// The monitor's pages of 15 computers: page 1 shows computers 1-15, page 2 16-30, page 3
// 31-45, and page 4 computers 46-50 of a classroom that has them.
class MonitorPages
{
public:
    static constexpr int RowsPerPage = 15;
    static constexpr int LastPage = 4;

    explicit MonitorPages(const Classroom &classroom) : m_classroom(classroom) {}

    int page() const { return m_page; }
    void reset() { m_page = 1; }
    void next();
    void previous();

    // Computer shown in row r (0-based) of the current page.
    int computerInRow(int row) const;
    bool nextVisible() const;
    bool previousVisible() const;
    // How many rows of the current page stand for a computer the classroom can have.
    int rowsUsed() const;

private:
    const Classroom &m_classroom;
    int m_page = 1;
};
