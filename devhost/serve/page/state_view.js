// The facility drawn from its state: the header, the panels as the operator
// sees them, the info devices, the timers. Nothing here decides anything; it
// draws what the state says.
import { act, takeClickLatency } from './actions.js';
import { $, el, showMessage } from './dom.js';
import { facility, virtualNow } from './facility.js';
import { renderRouters } from './router_view.js';

export function renderAll() {
  renderHeader();
  renderPanels();
  renderInfo();
  renderTimers();
  renderRouters();
  const latency = takeClickLatency();
  if (latency !== null) {
    $('latency').textContent = 'updated ' + Math.round(latency) + ' ms after the click';
  }
}

function renderHeader() {
  const state = facility.state;
  const badge = $('facility-status');
  const running = state.facility || { running: true };
  if (!running.running) {
    badge.textContent = 'facility stopped';
    badge.className = 'badge down';
    badge.title = running.problem || '';
    showMessage(running.problem, 'error');
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

export function renderClock() {
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
  const state = facility.state;
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
  const state = facility.state;
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

export function renderTimers() {
  const state = facility.state;
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
