'use strict';
// Moves bytes between the chosen file, the engine's WebAssembly module and the download, and
// shows what the module says, which is what quillet-cli says. Nothing leaves the device.

const moduleBase64 = '@MODULE_BASE64@';
// The module's inputs (web/module.cpp).
const NAME = 0;
const FILL_TEXT = 1;
const IMAGE = 2;

const form = document.getElementById('form');
const imageInput = document.getElementById('image');
const fillByte = document.getElementById('fill-byte');
const statusLine = document.getElementById('status');
const encoder = new TextEncoder();
const decoder = new TextDecoder();
let engine = null;
let image = null;
let busy = false;
let downloadUrl = null;

// Copies bytes into the module as its input of that kind; the address, or 0 where they do not fit.
function put(kind, bytes, size = bytes ? bytes.length : 0) {
  const address = engine.quillet_input(kind, size);
  if (address && bytes) {
    new Uint8Array(engine.memory.buffer, address, bytes.length).set(bytes);
  }
  return address;
}

function textAt(address) {
  const memory = new Uint8Array(engine.memory.buffer, address);
  return decoder.decode(memory.subarray(0, memory.indexOf(0)));
}

// The file's bytes, or null where the browser cannot read them.
async function bytesOf(file) {
  try {
    return new Uint8Array(await file.arrayBuffer());
  } catch {
    return null;
  }
}

async function choose(file) {
  image = file;
  const head = await bytesOf(file.slice(0, 4));
  if (file === image) {
    put(NAME, encoder.encode(file.name));
    put(IMAGE, head);
    statusLine.textContent = textAt(engine.quillet_info(file.size, head !== null));
  }
}

function save(bytes, name) {
  if (downloadUrl) {
    URL.revokeObjectURL(downloadUrl);
  }
  downloadUrl = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = downloadUrl;
  link.download = name;
  link.click();
}

async function removeIntro() {
  const file = image;
  const bytes = await bytesOf(file);
  put(NAME, encoder.encode(file.name));
  put(FILL_TEXT, encoder.encode(fillByte.value));
  const address = put(IMAGE, bytes, bytes ? bytes.length : file.size);
  const said = textAt(engine.quillet_remove(Number(form.elements.mode.value), bytes !== null));
  const size = engine.quillet_output_size();
  if (size > 0) {
    save(new Uint8Array(engine.memory.buffer, address, size), textAt(engine.quillet_output_name()));
  }
  statusLine.textContent = said;
}

function listen() {
  imageInput.addEventListener('change', () => imageInput.files[0] && choose(imageInput.files[0]));
  fillByte.addEventListener('input', () => { form.elements['fill-with-byte'].checked = true; });
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    if (event.dataTransfer.files.length > 0) {
      choose(event.dataTransfer.files[0]);
      imageInput.files = event.dataTransfer.files;
    }
  });
  form.addEventListener('submit', async (event) => {
    event.preventDefault();
    if (!image) {
      statusLine.textContent = 'Choose a game image first.';
      imageInput.focus();
    } else if (!busy) {
      busy = true;
      await removeIntro().finally(() => { busy = false; });
    }
  });
  if (imageInput.files[0]) {
    choose(imageInput.files[0]);
  }
}

WebAssembly.instantiate(Uint8Array.from(atob(moduleBase64), (c) => c.charCodeAt(0)))
  .then(({ instance }) => {
    engine = instance.exports;
    engine._initialize();
    listen();
  })
  .catch(() => {
    statusLine.textContent = 'This browser cannot run the page: it needs WebAssembly.';
  });
