#include "jet/file/PageCodecChoice.h"

#include "jet/base/Failure.h"
#include "jet/crypto/Rc4PageCodec.h"

namespace Jet {

std::shared_ptr<const PageCodec> ChoosePageCodec(const Header& header, const std::string& fileName) {
  if (header.databaseKey == 0) return std::make_shared<PlainPageCodec>();
  const bool ace = header.info.format != FileFormat::Jet3 && header.info.format != FileFormat::Jet4;
  if (ace)
    ThrowNotSupported("The file '" + fileName +
                      "' is an encrypted .accdb database; encrypted .accdb files are not supported yet.");
  return std::make_shared<Rc4PageCodec>(header.databaseKey);
}

}  // namespace Jet
