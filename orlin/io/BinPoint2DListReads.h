#pragma once

#include "orlin/io/BinPoint2DListFile.h"
#include "orlin/support/BlockWork.h"

#include <string>
#include <vector>

namespace tin::io {

/// BinPoint2DListFile::read() of many files, begun on helper threads when made and finished
/// by the caller's thread in take(), so that the caller does other work while the files are
/// read (a project's shapes are made while their geometry files are read).
///
/// A long list (two blocks of 64 files or more) gets the helpers that
/// tin::support::LaneThreads grants a batch (tin::support::BlockWork); a short one, or one
/// with no helper, is read wholly in take(). What each path gave is as readMany() says. Made
/// and taken on one thread; take() once. An object destroyed untaken stops its helpers after
/// the block each is reading and waits for them.
class BinPoint2DListReads {
public:
    explicit BinPoint2DListReads(std::vector<std::string> paths);
    ~BinPoint2DListReads();
    BinPoint2DListReads(const BinPoint2DListReads&) = delete;
    BinPoint2DListReads& operator=(const BinPoint2DListReads&) = delete;

    /// Reads what the helpers have not taken up, waits for them, and gives the reads in the
    /// order of the paths. Throws nothing of its own.
    std::vector<BinPoint2DListFile::Read> take();

private:
    std::vector<std::string> m_paths;
    std::vector<BinPoint2DListFile::Read> m_reads;
    tin::support::BlockWork m_work; // last: it stops before the reads and paths go
};

} // namespace tin::io
