// Enciphering of the menu program's secrets with libsodium secret boxes (XSalsa20-Poly1305).
// Never writes the key with wider permissions than the owner's, never returns unchecked text.
#include "suite/menu/menu_client_cipher.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/numbered_error.h"
#include "platform/save_file.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "MenuClient";

[[noreturn]] void keyFailure(const std::string& file, const std::string& why) {
    throw NumberedError(errnum::FileAccess, "Chiave di cifratura " + file + ": " + why, kSource);
}

[[noreturn]] void refused() {
    throw NumberedError(errnum::InvalidCall, "Testo cifrato non valido", kSource);
}

bool readAll(int fd, unsigned char* out, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, out + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    unsigned char extra;
    return ::read(fd, &extra, 1) == 0;
}

}  // namespace

SecretCipher::SecretCipher(std::string keyFile) : keyFile_(std::move(keyFile)) {
    if (sodium_init() < 0) keyFailure(keyFile_, "libreria di cifratura non disponibile");
}

void SecretCipher::loadKey() {
    if (!key_.empty()) return;
    int fd = ::open(keyFile_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        createKey();
        fd = ::open(keyFile_.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) keyFailure(keyFile_, std::strerror(errno));
    struct stat st {};
    const char* wrong = nullptr;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) wrong = "non e' un file";
    else if (st.st_mode & (S_IRWXG | S_IRWXO))
        wrong = "accessibile ad altri utenti (permessi richiesti 0600)";
    unsigned char key[crypto_secretbox_KEYBYTES];
    if (!wrong && !readAll(fd, key, sizeof key)) wrong = "contenuto non valido";
    ::close(fd);
    if (wrong) keyFailure(keyFile_, wrong);
    key_.assign(reinterpret_cast<const char*>(key), sizeof key);
    sodium_memzero(key, sizeof key);
}

// The key is written whole and never replaces a key file: a run starting at the same moment
// finds no key file or a complete one, and the first key written is the one both use.
void SecretCipher::createKey() {
    unsigned char key[crypto_secretbox_KEYBYTES];
    crypto_secretbox_keygen(key);
    SaveFile::Options options;
    options.newMode = 0600;
    options.neverReplace = true;
    options.source = kSource;
    try {
        SaveFile file(keyFile_, options);
        file.write(std::string_view(reinterpret_cast<const char*>(key), sizeof key));
        sodium_memzero(key, sizeof key);
        file.commit();
    } catch (const NumberedError&) {
        sodium_memzero(key, sizeof key);
        keyFailure(keyFile_, "scrittura non riuscita");
    }
}

std::string SecretCipher::encipher(const std::string& plain) {
    loadKey();
    std::vector<unsigned char> box(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES +
                                   plain.size());
    unsigned char* nonce = box.data();
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES,
                          reinterpret_cast<const unsigned char*>(plain.data()), plain.size(), nonce,
                          reinterpret_cast<const unsigned char*>(key_.data()));
    std::string text(sodium_base64_ENCODED_LEN(box.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), box.data(), box.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::string SecretCipher::decipher(const std::string& text) {
    loadKey();
    std::vector<unsigned char> box(text.size());
    std::size_t size = 0;
    if (sodium_base642bin(box.data(), box.size(), text.data(), text.size(), nullptr, &size, nullptr,
                          sodium_base64_VARIANT_ORIGINAL) != 0) {
        refused();
    }
    if (size < crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES) refused();
    std::string plain(size - crypto_secretbox_NONCEBYTES - crypto_secretbox_MACBYTES, '\0');
    if (crypto_secretbox_open_easy(reinterpret_cast<unsigned char*>(plain.data()),
                                   box.data() + crypto_secretbox_NONCEBYTES,
                                   size - crypto_secretbox_NONCEBYTES, box.data(),
                                   reinterpret_cast<const unsigned char*>(key_.data())) != 0) {
        refused();
    }
    return plain;
}

}  // namespace tolvane
