// The box's page: the panel and the status line as the box pushes them, and the remote's keys.
'use strict';
(() => {
  const W = 128, H = 64;
  const LIGHT = [176, 200, 96], DARK = [28, 40, 24];
  const $ = (id) => document.getElementById(id);
  // A token in the page's address goes along with every request (the cookie does too).
  const token = new URLSearchParams(location.search).get('token');
  const url = (path) => (token ? path + '?token=' + encodeURIComponent(token) : path);

  const canvas = $('panel');
  const context = canvas.getContext('2d');
  const image = context.createImageData(W, H);
  const buttons = new Map();  // key stroke -> button
  const checkButtons = [];

  function say(text) { $('message').textContent = text; }
  function link(text, live) {
    $('link').textContent = text;
    $('link').classList.toggle('live', live);
  }

  // The panel's bytes: 16 a row, the leftmost pixel in the highest bit, set is dark.
  function draw(panel) {
    const bytes = atob(panel);
    const px = image.data;
    for (let y = 0; y < H; y++) {
      for (let x = 0; x < W; x++) {
        const c = (bytes.charCodeAt(y * 16 + (x >> 3)) >> (7 - (x & 7))) & 1 ? DARK : LIGHT;
        const i = (y * W + x) * 4;
        px[i] = c[0];
        px[i + 1] = c[1];
        px[i + 2] = c[2];
        px[i + 3] = 255;
      }
    }
    context.putImageData(image, 0, 0);
  }

  function show(frame) {
    draw(frame.panel);
    $('info').textContent = frame.info || 'Lorvan';
    const parts = [`File ${frame.file} of ${frame.files}`, `${frame.time} Min.Sec.`, `${frame.total} total`];
    if (frame.bitrate) parts.push(`${frame.bitrate} kbs`);
    $('statusline').textContent = parts.join(' \u00b7 ');
    $('player').textContent = frame.player;
    $('key').textContent = frame.key;
    $('tx').textContent = frame.tx;
    frame.checks.forEach((value, i) => {
      if (checkButtons[i]) checkButtons[i].setAttribute('aria-pressed', value === 1 ? 'true' : value === 2 ? 'mixed' : 'false');
    });
    canvas.dataset.seq = frame.seq;
    document.dispatchEvent(new CustomEvent('lorvan-frame', { detail: frame }));
  }

  async function press(key) {
    try {
      const r = await fetch(url('key'), {
        method: 'POST',
        headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify({ key }),
      });
      say(r.ok ? '' : await r.text());
    } catch (e) {
      say('The box does not answer.');
    }
  }

  // A caption with its accelerator ("&" before it) underlined; "&&" is a plain "&".
  function caption(button, text) {
    for (let i = 0; i < text.length; i++) {
      if (text[i] === '&' && i + 1 < text.length) {
        i++;
        if (text[i] !== '&') {
          const u = document.createElement('u');
          u.textContent = text[i];
          button.append(u);
          continue;
        }
      }
      button.append(text[i]);
    }
  }

  function build(controls) {
    for (const c of controls) {
      const b = document.createElement('button');
      b.type = 'button';
      b.dataset.key = c.key;
      caption(b, c.caption === 'Enter' ? 'OK (Enter)' : c.caption);
      if (c.check) {
        b.setAttribute('aria-pressed', 'false');
        checkButtons.push(b);
      }
      if (c.caption.length > 24) b.classList.add('wide');
      b.addEventListener('click', () => press(c.key));
      const group = /^[0-9]$/.test(c.key) ? 'digits' : $('transport').childElementCount < 7 ? 'transport' : 'others';
      $(group).append(b);
      buttons.set(c.key, b);
    }
  }

  // The keyboard's accelerators: the plain character or Alt plus it, and Enter.
  document.addEventListener('keydown', (e) => {
    if (e.ctrlKey || e.metaKey || e.isComposing || e.repeat) return;
    const key = e.key === 'Enter' ? '\r' : e.key.length === 1 ? e.key.toLowerCase() : null;
    if (key === null || !buttons.has(key)) return;
    // Enter on a focused button clicks that button.
    if (key === '\r' && document.activeElement instanceof HTMLButtonElement) return;
    e.preventDefault();
    const b = buttons.get(key);
    b.classList.add('pressed');
    setTimeout(() => b.classList.remove('pressed'), 150);
    press(key);
  });

  function connect() {
    const events = new EventSource(url('events'));
    events.onopen = () => link('live', true);
    events.onmessage = (e) => show(JSON.parse(e.data));
    events.onerror = () => {
      link('reconnecting', false);
      // A refused stream (too many pages) is not retried by the browser itself.
      if (events.readyState === EventSource.CLOSED) setTimeout(connect, 5000);
    };
  }

  fetch(url('controls'))
    .then((r) => (r.ok ? r.json() : Promise.reject(new Error(r.statusText))))
    .then(build)
    .catch(() => say('The box did not send its keys; reload the page.'))
    .finally(connect);
})();
