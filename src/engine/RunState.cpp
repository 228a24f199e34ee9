#include "engine/RunState.h"

#include <stdexcept>

ProgramState::ProgramState(WideStringView programFolder) : programFolder_(programFolder) {
    if (programFolder_.empty() || programFolder_.front() != u'/')
        throw std::invalid_argument("The program folder must be an absolute path");
    if (programFolder_.back() != u'/') programFolder_ += u'/';
}

RunOptions ProgramState::ForRun() const {
    return RunOptions{Silent,         ProcessLogEnabled,     AusgabeCodepage, WriteByteOrderMark,
                      programFolder_, RaiseProgrammingErrors};
}
