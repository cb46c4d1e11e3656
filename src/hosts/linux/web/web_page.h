#pragma once
// The box's web page as the Linux host runs it: the server with the page's installed files
// and the main window's keys, the queue its keys come through, and the frames the event loop
// publishes from the panel and the main window's fields.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "lcd/ks0108_panel.h"
#include "hosts/linux/web/web_server.h"

namespace lorvan::linuxhost::web {

// The page's files (index.html, page.js, page.css) in folder Web of the installed data: beside
// the program, else in the source tree it was built from. Throws WebError naming both.
std::map<std::string, PageFile> LoadPageFiles();
// From one folder; throws WebError naming a file that is missing.
std::map<std::string, PageFile> LoadPageFiles(const std::string& folder);

// The keys of the remote: every control with an accelerator key, and Enter.
std::vector<PageControl> RemoteControls(app::frmMain& form);

class WebPage {
 public:
  struct Sources {
    const lcd::ks0108::Panel& panel;             // the panel the port's writes reach
    std::function<int64_t()> panel_writes;  // counts those writes
    std::function<std::string()> player;    // the player's state
  };
  // Throws WebError when it cannot listen or finds no page files.
  WebPage(const ListenAddress& listen, const std::string& token, app::frmMain& form, Sources sources);
  ~WebPage();

  // The page's address, or on every network each address of the machine's networks.
  std::vector<std::string> Urls() const;
  // The queue of the page's keys, for the event loop's wait.
  int fd() const { return keys_.fd(); }
  void TakeKeys(const std::function<void(char)>& on_key) { keys_.Drain(on_key); }
  // The event loop: a key stroke the window took (from any source) ...
  void NoteKey(char key);
  // ... and it is about to wait: after a transfer to the panel, a frame for the pages when
  // something they show has changed.
  void Publish();
  const WebServer& server() const { return *server_; }

 private:
  ListenAddress listen_;
  app::frmMain& form_;
  Sources sources_;
  KeyQueue keys_{32};
  std::unique_ptr<WebServer> server_;
  Frame frame_;
  Frame published_;
  int64_t panel_writes_ = -1;
  std::array<lcd::ks0108::Controller, 2> chips_{};  // the controllers when the panel was last read
};

}  // namespace lorvan::linuxhost::web
