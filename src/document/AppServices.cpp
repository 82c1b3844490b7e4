// The application's small services; the settings lookup and the param folder are filled in with the logo work.
#include "document/AppServices.h"

#include <utility>

namespace fotavel {

AppServices::AppServices(QString programFolder) : m_programFolder(std::move(programFolder)) {}

}  // namespace fotavel
