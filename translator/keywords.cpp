// The reserved words: statement words, operator and clause words, and
// function words. A reserved word is never mangled and never becomes a
// label, constant or variable; most have no translation at all.
#include <string>
#include <vector>

#include "kzo2c.h"

namespace kzo {

const char* const keywords[] = {
    // statement words (110)
    "REM", "ATTR", "AUDIO", "BACKUP", "CIRCLE", "CLEAR", "CLOAD", "CLOADM",
    "CLOSE", "CLS", "COLOR", "CONSTANT", "CONT", "COPY", "CSAVE", "CSAVEM",
    "DATA", "DEF", "DEFUSR", "DEL", "DIM", "DIR", "DLOAD", "DRAW", "DRIVE",
    "DSKI$", "DSKINI", "DSKO$", "EDIT", "ELSE", "END", "EXEC", "FIELD",
    "FILES", "FN", "FOR", "GET", "GOSUB", "GOTO", "HBUFF", "HCIRCLE", "HCLS",
    "HCOLOR", "HDRAW", "HGET", "HLINE", "HPAINT", "HPRINT", "HPUT", "HRESET",
    "HSCREEN", "HSET", "HSTAT", "IF", "INPUT", "KILL", "LET", "LINE", "LIST",
    "LLIST", "LOCATE", "LPOKE", "LOAD", "LOADM", "LSET", "MERGE", "MOTOR",
    "NEW", "NEXT", "OLD", "ON", "OPEN", "PAINT", "PALETTE", "PAUSE", "PCLEAR",
    "PCLS", "PCOPY", "PLAY", "PMODE", "POKE", "PRESET", "PRINT", "PSET", "PUT",
    "READ", "RENAME", "RENUM", "RESET", "RSET", "RESTORE", "RESUME", "RETURN",
    "RUN", "SAVE", "SAVEM", "SCREEN", "SET", "SKIPF", "SOUND", "STOP", "TO",
    "TROFF", "TRON", "WIDTH", "WRITE", "UNLOAD", "VERIFY", "MEM", "TIMER",
    // operator and clause words (23)
    "AND", "NOT", "OR", "LSE", "STEP", "FREE", "AS", "BRK", "ERR", "CMP",
    "RGB", "USING", "ERROR", "FREE", "OFF", "TAB", "USING", "THEN", "TO", "?",
    "AS", "OR", "PI",
    // function words (41)
    "ABS", "ASC", "ATN", "BUTTON", "CHR$", "COS", "CVN", "EOF", "ERLIN",
    "ERNO", "EXP", "FIX", "HEX$", "HPOINT", "INKEY$", "INSTR", "INT",
    "JOYSTK", "LEFT$", "LEN", "LOC", "LOF", "LOG", "LPEEK", "MID$", "MKN$",
    "PEEK", "POINT", "POS", "PPOINT", "RIGHT$", "RND", "SGN", "SIN",
    "STRING$", "STR$", "SQR", "TAN", "USR", "VAL", "VARPTR",
    // end of the search
    "", nullptr};

const int keywordcount = sizeof keywords / sizeof keywords[0] - 2;

bool iskeyword(const std::string& word) {
  // Reserved words are upper-case letters with at most a final $; most
  // names fail this test before any lookup.
  for (char c : word)
    if (!((c >= 'A' && c <= 'Z') || c == '$' || c == '?')) return false;
  static const std::vector<std::string> words(keywords, keywords + keywordcount);
  static const NameIndex index = [] {
    NameIndex i(words);
    for (int k = 0; k < keywordcount; ++k) i.add(k);
    return i;
  }();
  return index.find(word) >= 0;
}

}  // namespace kzo
