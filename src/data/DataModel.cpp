#include "DataModel.h"

#include "ComponentRegistry.h"

namespace DataModel {

namespace {

template <class Field, class... Args>
Field* makeField(TTable* view, const QString& fieldName, Args... args)
{
    auto* field = new Field(view, fieldName, args...);
    field->SetName(view->Name() + QString(fieldName).remove(QLatin1Char(' ')));
    return field;
}

TTable* makeView(QObject* owner, const QString& name, const QString& tableName)
{
    auto* view = new TTable(owner);
    view->SetName(name);
    view->SetDatabaseName(kAlias);
    view->SetTableName(tableName);
    return view;
}

TDataSource* makeSource(QObject* owner, TTable* view, const QString& window)
{
    auto* source = new TDataSource(owner);
    source->SetName(QStringLiteral("ds") + view->Name());
    source->SetDataSet(view);
    ComponentRegistry::add(window, view);
    ComponentRegistry::add(window, source);
    return source;
}

struct OrderLineFields {
    TFloatField* NoPesanan;
    TStringField* KodePelanggan;
    TStringField* KodeBarang;
    TStringField* NamaBarang;
    TStringField* JenisBarang;
    TFloatField* HargaSatuan;
    TFloatField* BanyakBarang;
    TStringField* NoFaktur;
};

// The fields the two views of DataBarang.DB share, in view order up to No Faktur.
void makeOrderLineFields(OrderLineFields& v, TTable* view)
{
    v.NoPesanan = makeField<TFloatField>(view, QStringLiteral("No Pesanan"));
    v.KodePelanggan = makeField<TStringField>(view, QStringLiteral("Kode Pelanggan"), 6);
    v.KodeBarang = makeField<TStringField>(view, QStringLiteral("Kode Barang"), 8);
    v.NamaBarang = makeField<TStringField>(view, QStringLiteral("Nama Barang"), 35);
    v.JenisBarang = makeField<TStringField>(view, QStringLiteral("Jenis Barang"), 20);
    v.HargaSatuan = makeField<TFloatField>(view, QStringLiteral("Harga Satuan"));
    v.BanyakBarang = makeField<TFloatField>(view, QStringLiteral("Banyak Barang"));
    v.NoFaktur = makeField<TStringField>(view, QStringLiteral("No Faktur"), 6);
}

// The calculated line amount, computed by the view's OnCalcFields.
template <class Field>
Field* makeJumlahHarga(TTable* view, const OrderLineFields& f)
{
    Field* jumlah = makeField<Field>(view, QStringLiteral("Jumlah Harga"), TFieldKind::fkCalculated);
    jumlah->SetDisplayFormat(QStringLiteral("###.##"));
    view->OnCalcFields = [harga = f.HargaSatuan, banyak = f.BanyakBarang, jumlah](TDataSet*) {
        CalcJumlahHarga(harga, banyak, jumlah);
    };
    return jumlah;
}

bool isKeyViolation(const EDatabaseError& error)
{
    const auto* engine = dynamic_cast<const EDBEngineError*>(&error);
    return engine && engine->ErrorCode() == DBIERR_KEYVIOL;
}

// A new record is dropped from the view. An edit of a stored record stays
// open with its values, so the operator can correct the key; the stored
// record is untouched until a post succeeds.
void discardNewRecord(TDataSet* dataSet)
{
    if (dataSet->State() == dsInsert)
        dataSet->Delete();
}

}

AllViews SetupAll(QObject* owner)
{
    AllViews views{SetupPelanggan(owner), SetupBarang(owner), SetupPenjualan(owner)};
    views.pelanggan.Pelanggan->Open();
    views.barang.Barang->Open();
    views.penjualan.Penjualan->Open();
    return views;
}

PelangganView SetupPelanggan(QObject* owner, const QString& window)
{
    PelangganView v{};
    v.Pelanggan = makeView(owner, QStringLiteral("Pelanggan"), QStringLiteral("DataPelanggan.DB"));
    v.PelangganKodePelanggan = makeField<TStringField>(v.Pelanggan, QStringLiteral("Kode Pelanggan"), 4);
    v.PelangganNamaPelanggan = makeField<TStringField>(v.Pelanggan, QStringLiteral("Nama Pelanggan"), 20);
    v.PelangganAlamat = makeField<TStringField>(v.Pelanggan, QStringLiteral("Alamat"), 30);
    v.PelangganNoTelepon = makeField<TStringField>(v.Pelanggan, QStringLiteral("No Telepon"), 14);
    v.PelangganNoTelepon->SetEditMask(QStringLiteral("!\\(999\\)000-0000;1;_"));
    v.dsPelanggan = makeSource(owner, v.Pelanggan, window);
    return v;
}

BarangView SetupBarang(QObject* owner, const QString& window)
{
    BarangView v{};
    v.Barang = makeView(owner, QStringLiteral("Barang"), QStringLiteral("DataBarang.DB"));
    v.Barang->SetIndexName(QStringLiteral("Kode Pelanggan"));
    v.Barang->SetMasterFields(QStringLiteral("Kode Pelanggan"));
    OrderLineFields f{};
    makeOrderLineFields(f, v.Barang);
    v.BarangNoPesanan = f.NoPesanan;
    v.BarangKodePelanggan = f.KodePelanggan;
    v.BarangKodeBarang = f.KodeBarang;
    v.BarangNamaBarang = f.NamaBarang;
    v.BarangJenisBarang = f.JenisBarang;
    v.BarangHargaSatuan = f.HargaSatuan;
    v.BarangBanyakBarang = f.BanyakBarang;
    v.BarangNoFaktur = f.NoFaktur;
    v.BarangTotalJumlah = makeField<TFloatField>(v.Barang, QStringLiteral("Total Jumlah"));
    v.BarangJumlahHarga = makeJumlahHarga<TFloatField>(v.Barang, f);
    v.dsBarang = makeSource(owner, v.Barang, window);
    TTable* barang = v.Barang;
    ComponentRegistry::resolve(QStringLiteral("FormPelanggan"), QStringLiteral("dsPelanggan"), barang,
                               [barang](QObject* source) {
                                   barang->SetMasterSource(static_cast<TDataSource*>(source));
                               });
    return v;
}

TTable* SharedView(const QString& name)
{
    return ComponentRegistry::findAs<TTable>(QStringLiteral("Form") + name, name);
}

TDataSource* SharedSource(const QString& name)
{
    return ComponentRegistry::findAs<TDataSource>(QStringLiteral("Form") + name, QStringLiteral("ds") + name);
}

PenjualanView SetupPenjualan(QObject* owner, const QString& window)
{
    PenjualanView v{};
    v.Penjualan = makeView(owner, QStringLiteral("Penjualan"), QStringLiteral("DataBarang.DB"));
    OrderLineFields f{};
    makeOrderLineFields(f, v.Penjualan);
    v.PenjualanNoPesanan = f.NoPesanan;
    v.PenjualanKodePelanggan = f.KodePelanggan;
    v.PenjualanKodePelanggan->SetEditMask(QStringLiteral("P\\000;1;_"));
    v.PenjualanKodeBarang = f.KodeBarang;
    v.PenjualanNamaBarang = f.NamaBarang;
    v.PenjualanJenisBarang = f.JenisBarang;
    v.PenjualanHargaSatuan = f.HargaSatuan;
    v.PenjualanBanyakBarang = f.BanyakBarang;
    v.PenjualanNoFaktur = f.NoFaktur;
    v.PenjualanTanggal = makeField<TDateField>(v.Penjualan, QStringLiteral("Tanggal"));
    v.PenjualanTanggal->SetEditMask(QStringLiteral("!99/99/0000;1;_"));
    v.PenjualanTotalJumlah = makeField<TFloatField>(v.Penjualan, QStringLiteral("Total Jumlah"));
    v.PenjualanJumlahHarga = makeJumlahHarga<TCurrencyField>(v.Penjualan, f);
    v.dsPenjualan = makeSource(owner, v.Penjualan, window);
    return v;
}

void CalcJumlahHarga(TDataSet* view)
{
    CalcJumlahHarga(view->FieldNamed(QStringLiteral("Harga Satuan")), view->FieldNamed(QStringLiteral("Banyak Barang")),
                    view->FieldNamed(QStringLiteral("Jumlah Harga")));
}

void CalcJumlahHarga(const TField* harga, const TField* banyak, TField* jumlah)
{
    const QVariant price = harga->Value();
    const QVariant quantity = banyak->Value();
    jumlah->SetAsReal(price.isNull() || quantity.isNull() ? 0.0 : price.toDouble() * quantity.toDouble());
}

void PelangganPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction&,
                        const std::function<void(const QString&)>& showMessage)
{
    if (!isKeyViolation(error))
        return;
    showMessage(QStringLiteral("Kode Barang ada yang sama"));
    discardNewRecord(dataSet);
    TDataSet::Abort();
}

void BarangPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction&,
                     const std::function<bool(const QString&)>& confirm)
{
    if (!isKeyViolation(error))
        return;
    if (confirm(QStringLiteral("No Pesanan ada yang sama")))
        discardNewRecord(dataSet);
    TDataSet::Abort();
}

}
