// Which file a name given to fotavel-batch stands for, by the name's own bytes.
#pragma once

#include <QString>

namespace fotavel::batch {

// True when `path` names a folder (a link to one included). The name goes to
// the system as the bytes it was given (io::NativeName): Qt's own file
// information would encode an escaped byte otherwise and ask about another name.
bool IsFolder(const QString& path);

// A key equal for every name of one file and different for different files:
// the device and inode of a file that exists; for one not yet written, the
// real path of its folder (links and "." or ".." resolved) and its own name;
// for a name whose folder does not exist either, its cleaned absolute path.
// Keys are computed before the run writes anything, so a name keeps its key
// whichever photo writes the file first.
QString FileKey(const QString& path);

}  // namespace fotavel::batch
