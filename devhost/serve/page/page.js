// The live facility page of vrel-devhost serve. The server pushes the
// facility's state and its traffic as Server-Sent Events; every click posts
// an action, which the server runs as a scenario statement in the facility.
// This page keeps no facility logic: it draws what the state says.
'use strict';

const token = document.querySelector('meta[name="vrel-token"]').content;
const $ = (id) => document.getElementById(id);

// ------------------------------------------------------------ small helpers

function el(tag, props, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(props || {})) {
    if (key === 'class') node.className = value;
    else if (key === 'text') node.textContent = value;
    else if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
    else if (key === 'dataset') Object.assign(node.dataset, value);
    else node.setAttribute(key, value);
  }
  for (const child of children) {
    if (child !== null && child !== undefined) node.append(child);
  }
  return node;
}

function showMessage(text, kind) {
  const box = $('message');
  box.textContent = text || '';
  box.className = text ? kind || 'info' : '';
}

// ------------------------------------------------------------ actions

// When the last click was made, to show how long the page took to follow.
let clickedAt = null;

async function act(body) {
  clickedAt = performance.now();
  let response;
  try {
    response = await fetch('/api/action', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json', 'X-Vrel-Token': token },
      body: JSON.stringify(body),
    });
  } catch (error) {
    showMessage('The server cannot be reached: ' + error.message, 'error');
    return null;
  }
  let answer = {};
  try {
    answer = await response.json();
  } catch (error) {
    answer = { error: 'the server answered ' + response.status };
  }
  if (!response.ok) {
    showMessage(answer.error || 'refused (' + response.status + ')', 'error');
    return null;
  }
  showMessage('');
  return answer;
}

async function downloadSession() {
  const response = await fetch('/api/session', { headers: { 'X-Vrel-Token': token } });
  if (!response.ok) {
    const answer = await response.json().catch(() => ({}));
    showMessage(answer.error || 'cannot save the session', 'error');
    return;
  }
  const blob = await response.blob();
  const link = el('a', { href: URL.createObjectURL(blob), download: 'session.scenario' });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  showMessage('Session saved as session.scenario; its paths start at the folder the server ' +
              'was started in.', 'info');
}

// ------------------------------------------------------------ the state

let state = null;
let stateAt = 0; // performance.now() when the state arrived
let hello = { choices: { sources: [], destinations: [], cueRouter: null } };

function virtualNow() {
  if (!state) return 0;
  if (state.realtime && state.alive) return state.now + Math.floor(performance.now() - stateAt);
  return state.now;
}

function renderAll() {
  renderHeader();
  renderPanels();
  renderInfo();
  renderTimers();
  renderRouters();
  if (clickedAt !== null) {
    $('latency').textContent = 'updated ' + Math.round(performance.now() - clickedAt) +
        ' ms after the click';
    clickedAt = null;
  }
}

function renderHeader() {
  const badge = $('facility-status');
  const facility = state.facility || { running: true };
  if (!facility.running) {
    badge.textContent = 'facility stopped';
    badge.className = 'badge down';
    badge.title = facility.problem || '';
    showMessage(facility.problem, 'error');
  } else if (state.alive) {
    badge.textContent = 'component loaded';
    badge.className = 'badge running';
    badge.title = state.componentPath || '';
  } else {
    badge.textContent = 'no component';
    badge.className = 'badge';
    badge.title = '';
  }
  $('realtime').checked = !!state.realtime;
  if (state.library && !$('library').value) $('library').value = state.library;
  renderClock();
}

function renderClock() {
  $('clock').textContent = 't = ' + virtualNow() + ' ms';
}

function propertyOf(control, name) {
  for (const [key, value] of control.properties) {
    if (key === name) return value;
  }
  return null;
}

// Properties as they were drawn last, to flash the ones that changed.
let drawnProperties = new Map();

function renderPanels() {
  const box = $('panels');
  box.replaceChildren();
  if (!state.panels || state.panels.length === 0) {
    box.append(el('p', { class: 'empty', text: 'No panel is shown.' }));
    return;
  }
  const drawn = new Map();
  for (const shown of state.panels) {
    const panel = el('div', { class: 'panel', dataset: { panel: shown.number } },
                     el('div', { class: 'panel-title',
                                 text: 'panel ' + shown.number + ' · ' + shown.file }));
    for (const control of shown.controls) {
      const text = propertyOf(control, 'text');
      const key = shown.number + ':' + control.id;
      const signature = JSON.stringify(control.properties);
      const changed = drawnProperties.has(key) && drawnProperties.get(key) !== signature;
      drawn.set(key, signature);
      let face;
      if (control.kind === 'button' || control.kind === '') {
        face = el('button', {
          class: 'panel-button', id: 'control-' + control.id, text: text || control.id,
          title: 'press: ' + (propertyOf(control, 'command') || '(no command)'),
          onclick: () => act({ do: 'press', panel: shown.number, control: control.id }),
        });
      } else {
        face = el('div', { class: 'panel-text' + (text ? '' : ' blank'),
                           id: 'control-' + control.id, text: text || '(empty)' });
      }
      if (changed) face.classList.add('changed');
      const others = control.properties
          .filter(([name]) => name !== 'text')
          .map(([name, value]) => name + '=' + value).join('  ');
      panel.append(el('div', { class: 'control', dataset: { control: control.id } },
                      el('span', { class: 'control-id', text: control.id }), face,
                      others ? el('span', { class: 'more', text: others }) : null));
    }
    box.append(panel);
  }
  drawnProperties = drawn;
}

function colourOf(text) {
  const value = text.trim();
  return value && CSS.supports('color', value) ? value : null;
}

function renderInfo() {
  const box = $('info');
  box.replaceChildren();
  if (!state.info || state.info.length === 0) {
    box.append(el('p', { class: 'empty', text: 'No slot written.' }));
    return;
  }
  for (const device of state.info) {
    const part = el('div', { class: 'info-device' },
                    el('div', { class: 'label', text: 'info device ' + device.device }));
    for (const [index, text] of device.slots) {
      const colour = colourOf(text);
      const swatch = el('span', { class: 'swatch' + (colour ? '' : ' unknown'),
                                  id: 'slot-' + device.device + '-' + index,
                                  title: colour ? colour : 'not a colour' });
      if (colour) swatch.style.background = colour;
      part.append(el('div', { class: 'slot' },
                     el('span', { class: 'num', text: 'slot ' + index }), swatch,
                     el('span', { class: 'slot-text', text: text })));
    }
    box.append(part);
  }
}

function renderTimers() {
  const box = $('timers');
  box.replaceChildren();
  if (!state.timers || state.timers.length === 0) {
    box.append(el('p', { class: 'empty', text: 'No timer runs.' }));
    return;
  }
  const now = virtualNow();
  const rows = state.timers.map((timer) => el('tr', { dataset: { timer: timer.id } },
      el('td', { text: 'timer ' + timer.id }),
      el('td', { class: 'num', text: 'every ' + timer.interval + ' ms' }),
      el('td', { class: 'num', text: 'due at ' + timer.due + ' ms' }),
      el('td', { class: 'num left', text: Math.max(0, timer.due - now) + ' ms left' })));
  box.append(el('table', { class: 'timers' }, el('tbody', {}, ...rows)));
}

// ------------------------------------------------------------ routers

const maxColumns = 64;
const maxRows = 64;

function renderRouters() {
  const box = $('routers');
  box.replaceChildren();
  const routers = state.routers || [];
  if (routers.length === 0) {
    box.append(el('p', { class: 'empty', text: 'No router has crosspoints or registrations.' }));
  }
  // The cue router first: it is the one the component works with.
  const cue = hello.choices.cueRouter;
  const ordered = [...routers].sort((a, b) =>
    (a.device === cue ? -1 : 0) - (b.device === cue ? -1 : 0) || a.device - b.device);
  for (const router of ordered) box.append(matrixOf(router, router.device === cue));
  const faults = $('faults');
  faults.replaceChildren(...(state.faults || []).map((text) => el('li', { text })));
  if (!$('fault-device').value && cue !== null) $('fault-device').value = cue;
}

function matrixOf(router, isCue) {
  const routes = new Map(router.crosspoints);
  const registered = (destination) =>
    router.registered.some(([first, last]) => destination >= first && destination <= last);
  const destinations = new Set(router.crosspoints.map(([d]) => d));
  for (const [first, last] of router.registered) {
    for (let d = first; d <= last && destinations.size < maxRows * 4; ++d) destinations.add(d);
  }
  const rows = [...destinations].sort((a, b) => a - b).slice(0, maxRows);
  let highest = 16;
  for (const [, source] of router.crosspoints) highest = Math.max(highest, source);
  const columns = [];
  for (let s = 1; s <= Math.min(highest, maxColumns); ++s) columns.push(s);
  const last = router.last;

  const head = el('tr', {}, el('th', { class: 'corner', text: 'dst \\ src' }),
                  ...columns.map((s) => el('th', { text: String(s) })));
  const body = rows.map((d) => el('tr', {},
      el('th', { class: registered(d) ? 'registered' : '', text: String(d),
                 title: registered(d) ? 'the component gets its status' : 'not registered' }),
      ...columns.map((s) => {
        const on = routes.get(d) === s;
        const isLast = last && last.destination === d && last.source === s;
        return el('td', {
          class: (on ? 'on' : '') + (isLast ? ' last' : ''),
          title: 'destination ' + d + ' ← source ' + s + (on ? ' (routed)' : ''),
          dataset: { device: router.device, destination: d, source: s },
          onclick: () => act({ do: 'route', device: router.device, source: s, destination: d }),
        });
      })));
  const notes = [];
  if (rows.length < destinations.size) notes.push('first ' + maxRows + ' destinations shown');
  if (highest > maxColumns) notes.push('sources above ' + maxColumns + ' not shown');
  const elsewhere = router.crosspoints.filter(([, s]) => s < 1 || s > maxColumns);
  for (const [d, s] of elsewhere) notes.push('destination ' + d + ' ← source ' + s);
  return el('div', { class: 'router', id: 'router-' + router.device },
    el('h3', { text: 'Router ' + router.device + (isCue ? ' (cue router)' : '') }),
    el('div', { class: 'meta', text:
      'fault: ' + router.fault +
      (last ? ' · last change: destination ' + last.destination + ' ← source ' + last.source +
              ' at ' + last.t + ' ms' : '') +
      (notes.length ? ' · ' + notes.join(', ') : '') }),
    el('div', { class: 'matrix-wrap' },
       el('table', { class: 'matrix' }, el('thead', {}, head), el('tbody', {}, ...body))));
}

// ------------------------------------------------------------ parent panel

function fillPickers() {
  const fill = (select, items, what) => {
    select.replaceChildren(el('option', { value: '', text: '— ' + what + ' —' }),
      ...items.map((item) => el('option', { value: String(item.number),
        text: item.number + (item.name ? ' · ' + item.name : '') })));
  };
  fill($('source'), hello.choices.sources, 'source');
  fill($('destination'), hello.choices.destinations, 'destination');
}

function sendSelection(word, value) {
  if (value === '' || value === null) return;
  act({ do: 'parent', text: word + '=' + value });
}

// ------------------------------------------------------------ the traffic log

const kinds = ['step', 'say', 'in', 'out', 'back', 'reply', 'debug', 'host', 'note', 'problem',
               'output'];
const maxLines = 100000;
const rowHeight = 18;
const shownKinds = new Set(kinds);
let lines = [];   // every line kept, oldest first
let view = [];    // the lines that pass the filters
let lastSeq = 0;
let missed = 0;
let search = '';
let logDirty = false;
let problems = 0;

function passes(line) {
  return shownKinds.has(line.k) && (!search || line.x.includes(search));
}

function addLines(batch) {
  for (const line of batch) {
    if (line.seq <= lastSeq) continue; // sent again after a reconnection
    lastSeq = line.seq;
    lines.push(line);
    if (line.k === 'problem') ++problems;
    if (passes(line)) view.push(line);
  }
  if (lines.length > maxLines) {
    // Dropped in one go, a tenth at a time, so that a steady stream does not
    // shift the array on every line.
    const drop = lines.length - maxLines + Math.floor(maxLines / 10);
    const first = lines[drop].seq;
    missed += drop;
    lines = lines.slice(drop);
    let keep = 0;
    while (keep < view.length && view[keep].seq < first) ++keep;
    view = view.slice(keep);
  }
  scheduleLog();
}

function refilter() {
  view = lines.filter(passes);
  scheduleLog(true);
}

// New lines are drawn at most every 100 ms, so that a flood of them leaves
// the page time for clicks; scrolling and filtering are drawn at once.
const logInterval = 100;
let logDrawnAt = 0;

function scheduleLog(urgent) {
  if (logDirty) return;
  logDirty = true;
  const wait = urgent ? 0 : Math.max(0, logDrawnAt + logInterval - performance.now());
  if (wait === 0) requestAnimationFrame(renderLog);
  else setTimeout(() => requestAnimationFrame(renderLog), wait);
}

// Only the rows in sight are in the page, whatever the number of lines.
function renderLog() {
  logDirty = false;
  logDrawnAt = performance.now();
  const box = $('log');
  $('log-spacer').style.height = (view.length * rowHeight) + 'px';
  if ($('log-follow').checked) box.scrollTop = box.scrollHeight;
  const first = Math.max(0, Math.floor(box.scrollTop / rowHeight) - 5);
  const count = Math.ceil(box.clientHeight / rowHeight) + 10;
  const rows = $('log-rows');
  rows.style.top = (first * rowHeight) + 'px';
  const shown = [];
  for (let i = first; i < Math.min(view.length, first + count); ++i) {
    const line = view[i];
    const text = line.x.replace(/\n$/, '').replace(/\n/g, ' ⏎ ');
    shown.push(el('div', { class: 'line k-' + line.k + (i === foundAt ? ' found' : ''),
                           dataset: { seq: line.seq } },
                  el('span', { class: 't', text: line.t + ' ms' }),
                  el('span', { class: 'k', text: line.k }),
                  el('span', { class: 'x', text })));
  }
  rows.replaceChildren(...shown);
  $('log-count').textContent = '· ' + view.length + ' of ' + lines.length + ' lines' +
      (missed ? ' (' + missed + ' older dropped)' : '') +
      (problems ? ' · ' + problems + ' problem' + (problems === 1 ? '' : 's') : '');
}

let foundAt = -1;

function nextProblem() {
  for (let i = 1; i <= view.length; ++i) {
    const at = (foundAt + i) % view.length;
    if (view[at].k === 'problem') {
      foundAt = at;
      $('log-follow').checked = false;
      $('log').scrollTop = Math.max(0, at * rowHeight - $('log').clientHeight / 2);
      scheduleLog(true);
      return;
    }
  }
  showMessage('No problem in the lines shown.', 'info');
}

function buildFilters() {
  const box = $('log-filters');
  for (const kind of kinds) {
    const box2 = el('input', { type: 'checkbox', id: 'show-' + kind });
    box2.checked = true;
    box2.addEventListener('change', () => {
      if (box2.checked) shownKinds.add(kind); else shownKinds.delete(kind);
      refilter();
    });
    box.append(el('label', { class: 'check' }, box2, ' ' + kind));
  }
}

// ------------------------------------------------------------ the event stream

// The stream is read with fetch rather than EventSource: a burst of events
// (a page that opens on a long log, or a flood of lines) is then taken in
// slices of a few milliseconds, and clicks are handled between them.
const handlers = {
  hello: (data) => {
    hello = JSON.parse(data);
    fillPickers();
  },
  log: (data) => addLines(JSON.parse(data)),
  missed: (data) => {
    missed += Number(data);
    scheduleLog();
  },
  state: (data) => {
    state = JSON.parse(data);
    stateAt = performance.now();
    renderAll();
  },
  change: () => {},
};
const pending = [];
let pendingAt = 0;
let draining = false;

function drain() {
  const start = performance.now();
  while (pendingAt < pending.length && performance.now() - start < 8) {
    const [type, data] = pending[pendingAt++];
    if (handlers[type]) handlers[type](data);
  }
  if (pendingAt < pending.length) {
    setTimeout(drain, 0);
    return;
  }
  pending.length = 0;
  pendingAt = 0;
  draining = false;
}

// Splits Server-Sent Events text into [type, data] pairs; returns what is
// left of an event not yet complete.
function splitEvents(text) {
  let at = 0;
  for (let end = text.indexOf('\n\n', at); end >= 0; end = text.indexOf('\n\n', at)) {
    let type = 'message';
    let data = '';
    for (const line of text.slice(at, end).split('\n')) {
      if (line.startsWith('event: ')) type = line.slice(7);
      else if (line.startsWith('data: ')) data += (data ? '\n' : '') + line.slice(6);
    }
    if (data) pending.push([type, data]);
    at = end + 2;
  }
  if (!draining && pendingAt < pending.length) {
    draining = true;
    setTimeout(drain, 0);
  }
  return text.slice(at);
}

async function connect() {
  for (;;) {
    let problem = '';
    try {
      const response = await fetch('/api/events?token=' + encodeURIComponent(token),
                                   { cache: 'no-store' });
      if (!response.ok) {
        // Too many pages open (503), or a refusal: the server says which.
        const answer = await response.json().catch(() => ({}));
        throw new Error(answer.error || 'refused (' + response.status + ')');
      }
      const reader = response.body.getReader();
      const decoder = new TextDecoder();
      let rest = '';
      for (;;) {
        const { value, done } = await reader.read();
        if (done) break;
        rest = splitEvents(rest + decoder.decode(value, { stream: true }));
      }
    } catch (error) {
      // Shown below; the stream is opened again.
      problem = error.message;
    }
    const badge = $('facility-status');
    badge.textContent = 'server not reachable';
    badge.className = 'badge down';
    badge.title = problem;
    await new Promise((resolve) => setTimeout(resolve, 1000));
  }
}

// ------------------------------------------------------------ wiring

function wire() {
  $('load-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const library = $('library').value.trim();
    if (library) act({ do: 'load', library });
  });
  $('unload').addEventListener('click', () => act({ do: 'unload' }));
  $('reload').addEventListener('click', () => act({ do: 'reload' }));
  $('restart').addEventListener('click', () => act({ do: 'restart' }));
  $('save').addEventListener('click', downloadSession);

  $('source').addEventListener('change', () => sendSelection('Source', $('source').value));
  $('destination').addEventListener('change',
      () => sendSelection('Destination', $('destination').value));
  $('source-set').addEventListener('click',
      () => sendSelection('Source', $('source-number').value));
  $('destination-set').addEventListener('click',
      () => sendSelection('Destination', $('destination-number').value));
  $('take').addEventListener('click', () => act({ do: 'parent', text: 'Take=1' }));
  $('parent-form').addEventListener('submit', async (event) => {
    event.preventDefault();
    const answer = await act({ do: 'parent', text: $('parent-text').value });
    if (answer) $('parent-reply').textContent = answer.replied ? answer.reply : '(no reply)';
  });

  for (const button of document.querySelectorAll('button.advance')) {
    button.addEventListener('click', () => act({ do: 'advance', ms: Number(button.dataset.ms) }));
  }
  $('advance-due').addEventListener('click', () => {
    const timers = (state && state.timers) || [];
    if (timers.length === 0) {
      showMessage('No timer runs.', 'info');
      return;
    }
    const due = Math.min(...timers.map((timer) => timer.due));
    act({ do: 'advance', ms: Math.max(1, due - virtualNow()) });
  });
  $('realtime').addEventListener('change',
      () => act({ do: 'realtime', on: $('realtime').checked }));

  $('fault-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const body = { do: 'fault', device: Number($('fault-device').value),
                   fault: $('fault-kind').value };
    if (body.fault === 'delay') body.delay = Number($('fault-delay').value);
    act(body);
  });

  $('statement-form').addEventListener('submit', async (event) => {
    event.preventDefault();
    const line = $('statement').value;
    if (!line.trim()) return;
    if (await act({ do: 'statement', line })) {
      showMessage('ok: ' + line, 'info');
    }
  });

  buildFilters();
  let searchTimer = 0;
  $('log-search').addEventListener('input', () => {
    clearTimeout(searchTimer);
    searchTimer = setTimeout(() => {
      search = $('log-search').value;
      refilter();
    }, 120);
  });
  $('log').addEventListener('scroll', () => {
    const box = $('log');
    const atEnd = box.scrollTop + box.clientHeight >= box.scrollHeight - rowHeight;
    if (!atEnd && $('log-follow').checked && !logDirty) $('log-follow').checked = false;
    scheduleLog(true);
  }, { passive: true });
  $('log-follow').addEventListener('change', () => scheduleLog(true));
  $('log-problem').addEventListener('click', nextProblem);

  // In real time the clock and the timers move between states.
  setInterval(() => {
    if (state && state.realtime) {
      renderClock();
      renderTimers();
    }
  }, 100);
}

wire();
connect();
