#include "tests/support/test_tls.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace velmo::test {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
  void operator()(X509* certificate) const { X509_free(certificate); }
};
struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Certificate = std::unique_ptr<X509, CertificateFree>;
using Bio = std::unique_ptr<BIO, BioFree>;

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

Key NewKey() {
  Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
  Require(key != nullptr, "key generation");
  return key;
}

void AddExtension(X509* certificate, X509V3_CTX& context, int nid, const char* value) {
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  Require(extension != nullptr && X509_add_ext(certificate, extension, -1) == 1, value);
  X509_EXTENSION_free(extension);
}

// Signed by issuer (certificate and key), or by itself when issuer is null.
Certificate NewCertificate(EVP_PKEY* key, const std::string& common_name, long serial, X509* issuer,
                           EVP_PKEY* issuer_key) {
  Certificate certificate(X509_new());
  X509* const cert = certificate.get();
  Require(cert != nullptr && X509_set_version(cert, 2) == 1, "version");
  ASN1_INTEGER_set(X509_get_serialNumber(cert), serial);
  X509_gmtime_adj(X509_getm_notBefore(cert), -86400L);
  X509_gmtime_adj(X509_getm_notAfter(cert), 3650L * 86400L);
  Require(X509_set_pubkey(cert, key) == 1, "public key");
  X509_NAME* subject = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(common_name.c_str()), -1, -1,
                             0);
  X509_set_issuer_name(cert, issuer != nullptr ? X509_get_subject_name(issuer) : subject);

  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer != nullptr ? issuer : cert, cert, nullptr, nullptr, 0);
  AddExtension(cert, context, NID_subject_key_identifier, "hash");
  if (issuer == nullptr) {
    AddExtension(cert, context, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert, context, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    AddExtension(cert, context, NID_authority_key_identifier, "keyid:always");
    AddExtension(cert, context, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(cert, context, NID_key_usage, "critical,digitalSignature");
    AddExtension(cert, context, NID_ext_key_usage, "serverAuth");
    AddExtension(cert, context, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
  }
  Require(X509_sign(cert, issuer_key != nullptr ? issuer_key : key, EVP_sha256()) > 0, "signing");
  return certificate;
}

template <typename Write>
std::string Pem(Write write) {
  Bio bio(BIO_new(BIO_s_mem()));
  Require(bio != nullptr && write(bio.get()) == 1, "PEM encoding");
  std::string pem(BIO_ctrl_pending(bio.get()), '\0');
  Require(
      BIO_read(bio.get(), pem.data(), static_cast<int>(pem.size())) == static_cast<int>(pem.size()),
      "PEM read-back");
  return pem;
}

}  // namespace

TestAuthority MakeTestAuthority(std::string_view name) {
  const Key authority_key = NewKey();
  const Certificate authority = NewCertificate(
      authority_key.get(), std::string(name) + " test authority", 1, nullptr, nullptr);
  const Key server_key = NewKey();
  const Certificate server =
      NewCertificate(server_key.get(), "127.0.0.1", 2, authority.get(), authority_key.get());

  TestAuthority result;
  result.certificate_pem = Pem([&](BIO* bio) { return PEM_write_bio_X509(bio, authority.get()); });
  result.server.certificate_pem =
      Pem([&](BIO* bio) { return PEM_write_bio_X509(bio, server.get()); });
  result.server.private_key_pem = Pem([&](BIO* bio) {
    return PEM_write_bio_PrivateKey(bio, server_key.get(), nullptr, nullptr, 0, nullptr, nullptr);
  });
  return result;
}

TempFile::TempFile(std::string_view contents) {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmo-test-XXXXXX").string();
  const int fd = mkstemp(pattern.data());
  Require(fd >= 0, "temporary file");
  close(fd);
  path_ = pattern;
  std::ofstream(path_, std::ios::binary) << contents;
}

TempFile::~TempFile() {
  std::filesystem::remove(path_);
}

}  // namespace velmo::test
