// The live facility page of vrel-devhost serve. The server pushes the
// facility's state and its traffic as Server-Sent Events; every click posts
// an action, which the server runs as a scenario statement in the facility.
// This page keeps no facility logic: it draws what the state says.
import { act, downloadSession } from './actions.js';
import { $, showMessage } from './dom.js';
import { connect } from './event_stream.js';
import { facility, setHello, setState, virtualNow } from './facility.js';
import { fillPickers, wireParentPanel } from './parent_panel.js';
import { renderAll, renderClock, renderTimers } from './state_view.js';
import { addLines, addMissed, setKinds, wireLog } from './traffic_log.js';

const handlers = {
  hello: (data) => {
    setHello(JSON.parse(data));
    setKinds(facility.hello.kinds || []);
    fillPickers();
  },
  log: (data) => addLines(JSON.parse(data)),
  missed: (data) => addMissed(Number(data)),
  state: (data) => {
    setState(JSON.parse(data));
    renderAll();
  },
  change: () => {},
};

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

  wireParentPanel();

  for (const button of document.querySelectorAll('button.advance')) {
    button.addEventListener('click', () => act({ do: 'advance', ms: Number(button.dataset.ms) }));
  }
  $('advance-due').addEventListener('click', () => {
    const timers = (facility.state && facility.state.timers) || [];
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

  wireLog();

  // In real time the clock and the timers move between states.
  setInterval(() => {
    if (facility.state && facility.state.realtime) {
      renderClock();
      renderTimers();
    }
  }, 100);
}

wire();
connect(handlers);
