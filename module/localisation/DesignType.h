// Which configuration of the client platform a localisation component reads: the client file
// "VarnelC.ini" (dtClient) or the server file "VarnelS.ini" (dtServer), both described in
// support/VarnelIni.h. The code converter (localisation/CodeConverter.h) takes its code pages
// from it, the language controller (localisation/LanguageController.h) its language folder.
//
// The enumeration lives in the namespace LocalisationTypes for the meta-object system, so that
// form descriptions and language packs write "dtClient" and "dtServer", and is brought into the
// global namespace, where module code uses it.
#pragma once

#include <QObject>

namespace LocalisationTypes {
Q_NAMESPACE

enum TDesignType { dtClient, dtServer };
Q_ENUM_NS(TDesignType)

}  // namespace LocalisationTypes

using LocalisationTypes::TDesignType;
using enum LocalisationTypes::TDesignType;
