// Forms that destroy data ask first. The overview reloads itself when the
// event store's change counters move, and every few seconds while an
// activity runs, so progress is seen moving.
(function () {
  document.querySelectorAll('form[data-confirm]').forEach(function (f) {
    f.addEventListener('submit', function (e) {
      if (!window.confirm(f.getAttribute('data-confirm'))) e.preventDefault();
    });
  });
  document.querySelectorAll('button[data-confirm]').forEach(function (b) {
    b.addEventListener('click', function (e) {
      if (!window.confirm(b.getAttribute('data-confirm'))) e.preventDefault();
    });
  });
  var body = document.getElementById('refresh');
  if (!body) return;
  var stamp = body.getAttribute('data-stamp');
  if (stamp === null) return;
  var busy = body.getAttribute('data-busy') === '1';
  // Once a form is sent the page never reloads itself: a reload would
  // abandon the answer, and the user would not see what the action did.
  var sent = false;
  document.addEventListener('submit', function (e) { if (!e.defaultPrevented) sent = true; });
  function reload() { if (!sent) location.reload(); }
  function poll() {
    if (sent) return;
    fetch('stamp.php', {credentials: 'same-origin', cache: 'no-store'})
      .then(function (r) { return r.json(); })
      .then(function (j) { if (j.stamp !== stamp) reload(); })
      .catch(function () {});
  }
  setInterval(poll, 3000);
  if (busy) setTimeout(reload, 4000);
})();
