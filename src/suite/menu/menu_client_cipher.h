// The menu program's cipher for passwords and other secrets: authenticated secret-key boxes
// with a random nonce, written as base64 text. Never falls back to a reversible encoding:
// a missing key file is created, a tampered or foreign text is refused.
#pragma once

#include <string>

namespace tolvane {

// What the menu client enciphers secrets with.
class Cipher {
  public:
    virtual ~Cipher() = default;
    virtual std::string encipher(const std::string& plain) = 0;
    // Raises 5 ("Testo cifrato non valido") for a text this cipher did not make.
    virtual std::string decipher(const std::string& text) = 0;
};

class SecretCipher : public Cipher {
  public:
    // The key lives in keyFile (32 random bytes, mode 0600), created on first use.
    explicit SecretCipher(std::string keyFile);

    std::string encipher(const std::string& plain) override;
    // Raises 5 ("Testo cifrato non valido") for a text that was not made with this key or
    // was altered; 75 when the key file cannot be read or created, is not 32 bytes or is open
    // to other users.
    std::string decipher(const std::string& text) override;

    const std::string& keyFile() const { return keyFile_; }

  private:
    void loadKey();
    void createKey();
    std::string keyFile_;
    std::string key_;
};

}  // namespace tolvane
