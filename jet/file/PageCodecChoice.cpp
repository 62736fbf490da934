#include "jet/file/PageCodecChoice.h"

#include "jet/base/Failure.h"
#include "jet/crypto/AgileKeys.h"
#include "jet/crypto/AgilePageCodec.h"
#include "jet/crypto/CryptoApiKeys.h"
#include "jet/crypto/EncryptionInfo.h"
#include "jet/crypto/Rc4CryptoApiPageCodec.h"
#include "jet/crypto/Rc4PageCodec.h"
#include "jet/crypto/StandardAesPageCodec.h"

namespace Jet {
namespace {

std::shared_ptr<const PageCodec> AgileCodec(const AgileEncryption& agile, uint32_t databaseKey,
                                            std::u16string_view password, const std::string& fileName) {
  auto dataKey = UnlockAgileDataKey(agile, password);
  if (!dataKey) ThrowNotValidPassword();
  std::string writeRefusal;
  if (agile.dataIntegrity)
    writeRefusal = "The file '" + fileName +
                   "' is encrypted with a data integrity check that the engine cannot keep valid; it can be read "
                   "but not changed.";
  return std::make_shared<AgilePageCodec>(agile, std::move(*dataKey), databaseKey, std::move(writeRefusal));
}

std::shared_ptr<const PageCodec> CryptoApiCodec(const CryptoApiEncryption& scheme, uint32_t databaseKey,
                                                std::u16string_view password) {
  CryptoApiKey key(scheme, password);
  if (!key.Verifies()) ThrowNotValidPassword();
  if (scheme.cipher == CryptoApiEncryption::Cipher::Rc4)
    return std::make_shared<Rc4CryptoApiPageCodec>(std::move(key), databaseKey);
  return std::make_shared<StandardAesPageCodec>(std::move(key), databaseKey);
}

}  // namespace

std::shared_ptr<const PageCodec> ChoosePageCodec(const Header& header, ByteSpan headerPage,
                                                 std::u16string_view password, const std::string& fileName) {
  if (header.databaseKey == 0) return std::make_shared<PlainPageCodec>();
  const bool ace = header.info.format != FileFormat::Jet3 && header.info.format != FileFormat::Jet4;
  if (!ace) return std::make_shared<Rc4PageCodec>(header.databaseKey);
  const EncryptionScheme scheme = ReadEncryptionInfo(headerPage.first(header.info.pageSize), fileName);
  if (const auto* agile = std::get_if<AgileEncryption>(&scheme))
    return AgileCodec(*agile, header.databaseKey, password, fileName);
  return CryptoApiCodec(std::get<CryptoApiEncryption>(scheme), header.databaseKey, password);
}

}  // namespace Jet
